// Number and date texts, formatted the same way on every build.
#pragma once

#include <cstddef>
#include <string_view>

#include "base/calendar.h"

namespace tolvi {

constexpr std::size_t kDateTextChars = 20;

// Appends value with two decimals, a half rounded up on the exact decimal digits,
// right-aligned in min_width. Never writes past capacity; out stays terminated.
// Returns the new length.
std::size_t AppendFixed2(char* out, std::size_t capacity, std::size_t length, double value,
                         int min_width = 0);
// The same with 2 or 3 decimals.
std::size_t AppendFixed(char* out, std::size_t capacity, std::size_t length, double value,
                        int decimals, int min_width = 0);

std::size_t AppendText(char* out, std::size_t capacity, std::size_t length, std::string_view text);

// Copies text into out (capacity bytes, terminator included), cut where it must be,
// but never between the two bytes of a character. Returns the length.
std::size_t CopyWholeCharacters(std::string_view text, char* out, std::size_t capacity);

// UTF-8 (an entry of a window system) into a field of the program's code page, cut as
// CopyWholeCharacters cuts; a character the code page lacks becomes '?'.
std::size_t CopyUtf8AsCp932(std::string_view utf8, char* out, std::size_t capacity);

// The text of a fixed-size field: up to its zero byte, never past the field.
std::string_view FieldText(const char* field, std::size_t size);

// "96.13 char/60s"
void FormatSpeedText(double speed, char* out, std::size_t capacity);

// "Aug 04 07:04:32 1999" into at least 21 bytes: the conventional text of a local time from
// its fifth character, cut to 20.
void FormatDateText(const CivilTime& local, char* out);
void DateTextOf(const LocalTime& when, char* out);

}  // namespace tolvi

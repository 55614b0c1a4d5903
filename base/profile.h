// INI lookup: the system's own reader on Windows, ours elsewhere, with the same answers.
#pragma once

#include <cstddef>
#include <cstdio>

namespace tolvi {

// Copies the value of key in section (both matched without regard to case) into
// out, cut to capacity - 1 bytes; fallback when the file, section or key is missing.
// Returns the number of bytes copied, terminator not counted.
std::size_t ReadProfileString(const char* section, const char* key, const char* fallback, char* out,
                              std::size_t capacity, const char* path);

// Our own reader; what ReadProfileString uses where the system has none.
std::size_t ReadProfileStringPortable(const char* section, const char* key, const char* fallback,
                                      char* out, std::size_t capacity, const char* path);
// The same from an open stream, or the fallback when file is null.
std::size_t ReadProfileStream(std::FILE* file, const char* section, const char* key,
                              const char* fallback, char* out, std::size_t capacity);

}  // namespace tolvi

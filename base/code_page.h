// Code page 932, the program's code page on every build: its double-byte characters,
// and the conversions from and to the UTF-8 of sentence files and window systems.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tolvi {

// What begins a UTF-8 file that says so.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

inline bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// How many of the first length bytes of text hold whole characters: a lead byte whose
// trail would lie past length is left out. Lead bytes can only be told from trail bytes
// by walking from the start.
inline std::size_t WholeCharacterBytes(const char* text, std::size_t length) {
  std::size_t whole = 0;
  while (whole < length) {
    const std::size_t next = whole + (IsLeadByte(static_cast<unsigned char>(text[whole])) ? 2 : 1);
    if (next > length) break;
    whole = next;
  }
  return whole;
}

// Whether every byte of text belongs to a well-formed UTF-8 character. When more_follows,
// a character cut off at the end counts as well-formed.
bool IsUtf8(std::string_view text, bool more_follows);

// UTF-8 as code page 932, appended to out: a character with no form in code page 932,
// and each byte that is not part of a well-formed character, becomes '?', so the result
// is never longer than the UTF-8. When more_follows, a character cut off at the end is
// left for the next call. Returns the bytes of utf8 used.
std::size_t AppendCp932FromUtf8(std::string_view utf8, std::string& out, bool more_follows);

// The code page 932 form of what begins utf8 (not empty), which takes *bytes of it: one
// byte, or lead << 8 | trail. When more_follows and the end cuts a character off, *bytes
// is 0 and the form means nothing.
std::uint16_t Cp932FormOfOther(std::string_view utf8, bool more_follows, std::size_t* bytes);
// The form of each character of the Basic Multilingual Plane ('?' for none), by code point.
const std::uint16_t* Cp932FormsOfBmp();

inline std::uint16_t Cp932FormAt(std::string_view utf8, bool more_follows, std::size_t* bytes) {
  const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
  if (s[0] < 0x80) {
    *bytes = 1;
    return s[0];  // ASCII is the same in both
  }
  // Kana and kanji: three bytes that need none of the checks for forbidden forms.
  if (utf8.size() >= 3 && s[0] > 0xE0 && s[0] < 0xF0 && s[0] != 0xED && (s[1] & 0xC0) == 0x80 &&
      (s[2] & 0xC0) == 0x80) {
    static const std::uint16_t* const forms = Cp932FormsOfBmp();
    *bytes = 3;
    return forms[(s[0] & 0x0Fu) << 12 | (s[1] & 0x3Fu) << 6 | (s[2] & 0x3Fu)];
  }
  return Cp932FormOfOther(utf8, more_follows, bytes);
}

// Which characters of the Basic Multilingual Plane have a double-byte form, a bit each by
// code point: all that the 79-byte rule asks of a UTF-8 line, in 8 KiB that stay in the
// nearest cache, where the forms take 128 KiB.
const std::uint64_t* Cp932DoubleBitsOfBmp();

inline std::string Utf8ToCp932(std::string_view utf8) {
  std::string out;
  AppendCp932FromUtf8(utf8, out, false);
  return out;
}

// The UTF-8 of a code point, appended to out.
void AppendUtf8(std::uint32_t c, std::string& out);

// Code page 932 as UTF-8, for display.
std::string Cp932ToUtf8(std::string_view cp932);

// Each build's converter of well-formed UTF-8 of the Basic Multilingual Plane to code
// page 932, called only with such text.
void AppendCp932FromBmpUtf8(std::string_view utf8, std::string& out);

}  // namespace tolvi

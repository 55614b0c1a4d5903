// Double-byte characters of 8-bit text: the system code page on Windows, code page 932
// elsewhere, so both builds read Japanese files alike.
#pragma once

#include <cstddef>

namespace tolvi {

bool IsLeadByte(unsigned char byte);

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

}  // namespace tolvi

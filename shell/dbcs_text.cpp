// Cutting 8-bit text of the system code page without leaving half a character.
#include "shell/dbcs_text.h"

#include <windows.h>

#include <cstring>

namespace tolvi {

void CutToWholeCharacters(char* text, std::size_t capacity) {
  if (capacity == 0) return;
  text[capacity - 1] = '\0';
  // Lead bytes can only be told from trail bytes by walking from the start.
  std::size_t i = 0;
  while (text[i] != '\0') {
    if (IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(text[i]))) {
      if (text[i + 1] == '\0') {
        text[i] = '\0';
        break;
      }
      i += 2;
    } else {
      ++i;
    }
  }
}

void CopyWholeCharacters(std::string_view source, char* out, std::size_t capacity) {
  if (capacity == 0) return;
  const std::size_t length = source.size() < capacity ? source.size() : capacity - 1;
  std::memcpy(out, source.data(), length);
  out[length] = '\0';
  CutToWholeCharacters(out, capacity);
}

}  // namespace tolvi

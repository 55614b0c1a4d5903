// Cutting 8-bit text of the system code page without leaving half a character.
#pragma once

#include <cstddef>
#include <string_view>

namespace tolvi {

// Terminates text at capacity - 1 bytes at most, then drops a lead byte left
// without its trail byte at the end.
void CutToWholeCharacters(char* text, std::size_t capacity);

// Copies source into out (capacity bytes, terminator included), cut the same way.
void CopyWholeCharacters(std::string_view source, char* out, std::size_t capacity);

}  // namespace tolvi

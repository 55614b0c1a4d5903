// A block of UTF-8 classified sixty-four bytes to a word, so that lines of kana and kanji
// can be measured without decoding every character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tolvi {

// A bit for each byte of a block, bit i of word w standing for byte 64 * w + i, and how
// many bits of each kind lie before each word.
// A bit for each byte of a block, bit i of word w standing for byte 64 * w + i.
struct Utf8Scan {
  std::vector<std::uint64_t> line_feeds;
  // The lead of each whole three-byte character that needs no check beyond its bytes' kinds
  // (E1 to EF but ED, then two continuation bytes): the kana and kanji of a Japanese line.
  std::vector<std::uint64_t> leads;
  // Every other byte that is not ASCII. A line without one holds ASCII and such characters
  // alone.
  std::vector<std::uint64_t> others;
};

// Classifies size bytes of text into scan, sixteen at a time where SSE2 is there.
void ScanUtf8(const char* text, std::size_t size, Utf8Scan* scan);

// The bits set in a word, the same on every processor the program is built for.
inline int CountBits(std::uint64_t bits) {
  bits -= (bits >> 1) & 0x5555555555555555u;
  bits = (bits & 0x3333333333333333u) + ((bits >> 2) & 0x3333333333333333u);
  bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
  return static_cast<int>((bits * 0x0101010101010101u) >> 56);
}

}  // namespace tolvi

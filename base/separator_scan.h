// The line feeds, commas, quotes, control bytes, non-ASCII bytes and digits of a block of
// CSV, a bit each, sixty-four bytes to a
// word, so that fields are found by counting bits rather than by looking at each byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tolvi {

// Bit i of word w stands for byte 64 * w + i; a word more than the text needs is zero.
struct SeparatorScan {
  std::vector<std::uint64_t> line_feeds;
  std::vector<std::uint64_t> separators;  // commas and quotes
  std::vector<std::uint64_t> controls;    // below 0x20 but the line feed, and DEL
  std::vector<std::uint64_t> high;        // 0x80 and up: not ASCII
  std::vector<std::uint64_t> digits;      // 0 to 9
};

// count (at most 64) of bits from bit at, the first lowest. The words past the text are zero.
inline std::uint64_t BitsAt(const std::vector<std::uint64_t>& bits, std::size_t at,
                            std::size_t count) {
  const std::size_t w = at / 64;
  const unsigned shift = at % 64;
  // Shifted by one and then the rest, so that a shift of 0 takes nothing of the next word.
  const std::uint64_t value = bits[w] >> shift | (bits[w + 1] << 1) << (63 - shift);
  return count >= 64 ? value : value & ((std::uint64_t{1} << count) - 1);
}

// Whether bits has one set from bit from up to bit to (not included).
bool AnyBitInLong(const std::vector<std::uint64_t>& bits, std::size_t from, std::size_t to);
inline bool AnyBitIn(const std::vector<std::uint64_t>& bits, std::size_t from, std::size_t to) {
  return to - from <= 64 ? BitsAt(bits, from, to - from) != 0 : AnyBitInLong(bits, from, to);
}

// Sixteen bytes at a time where SSE2 is there, the last bytes one at a time.
void ScanSeparators(const char* text, std::size_t size, SeparatorScan* scan);

}  // namespace tolvi

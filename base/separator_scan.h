// The line feeds, commas, quotes, control bytes, non-ASCII bytes and digits of a block of
// CSV, a bit each, sixty-four bytes to a word, so that fields are found by counting bits
// rather than by looking at each byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tolvi {

// The kinds of sixty-four bytes: bit i stands for byte i. Kept together, so that a line's
// kinds come from one or two cache lines.
struct ByteKinds {
  std::uint64_t line_feeds = 0;
  std::uint64_t commas = 0;
  std::uint64_t quotes = 0;
  std::uint64_t controls = 0;  // below 0x20 but the line feed, and DEL
  std::uint64_t high = 0;      // 0x80 and up: not ASCII
  std::uint64_t digits = 0;    // 0 to 9
  // UTF-8's continuation bytes (80 to BF), and the leads of three bytes that need no check
  // beyond their bytes' kinds (E1 to EF but ED): a field of kana and kanji is checked by bits.
  std::uint64_t continuations = 0;
  std::uint64_t plain_leads = 0;
};
using ByteKind = std::uint64_t ByteKinds::*;

// Word w for bytes 64 * w on; the words past the text, three at least, are zero, so that
// the bits of a line of up to 128 bytes can be read from three words wherever it begins.
struct SeparatorScan {
  std::vector<ByteKinds> words;
};

// count (at most 64) bits of a kind from bit at, the first lowest.
inline std::uint64_t BitsAt(const SeparatorScan& scan, ByteKind kind, std::size_t at,
                            std::size_t count) {
  const std::size_t w = at / 64;
  const unsigned shift = at % 64;
  // Shifted by one and then the rest, so that a shift of 0 takes nothing of the next word.
  const std::uint64_t value = scan.words[w].*kind >> shift | (scan.words[w + 1].*kind << 1)
                                                                 << (63 - shift);
  return count >= 64 ? value : value & ((std::uint64_t{1} << count) - 1);
}

// Whether a bit of the kind is set from bit from up to bit to (not included).
bool AnyBitInLong(const SeparatorScan& scan, ByteKind kind, std::size_t from, std::size_t to);
inline bool AnyBitIn(const SeparatorScan& scan, ByteKind kind, std::size_t from, std::size_t to) {
  return to - from <= 64 ? BitsAt(scan, kind, from, to - from) != 0
                         : AnyBitInLong(scan, kind, from, to);
}

// Sixteen bytes at a time where SSE2 is there, the last bytes one at a time.
void ScanSeparators(const char* text, std::size_t size, SeparatorScan* scan);

}  // namespace tolvi

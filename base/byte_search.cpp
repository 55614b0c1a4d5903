// Runs of short lines, found sixty-four bytes at a time where SSE2 is there, and the last
// bytes of a block one at a time.
#include "base/byte_search.h"

#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tolvi {
namespace {

constexpr std::ptrdiff_t kChunk = 64;

// Bit i stands for whether p[i] is a line feed, for the n bytes from p.
std::uint64_t LineFeedsIn(const char* p, std::ptrdiff_t n) {
  std::uint64_t feeds = 0;
  for (std::ptrdiff_t i = 0; i < n; ++i) feeds |= static_cast<std::uint64_t>(p[i] == '\n') << i;
  return feeds;
}

#ifdef __SSE2__
// The same for kChunk bytes, sixteen at a time.
std::uint64_t LineFeedsAt(const char* p) {
  const __m128i line_feed = _mm_set1_epi8('\n');
  std::uint64_t feeds = 0;
  for (int i = 0; i < 4; ++i) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
    const auto bits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, line_feed)));
    feeds |= static_cast<std::uint64_t>(bits) << (16 * i);
  }
  return feeds;
}
#else
std::uint64_t LineFeedsAt(const char* p) { return LineFeedsIn(p, kChunk); }
#endif

}  // namespace

const char* SkipShortLines(const char* begin, const char* end, std::ptrdiff_t shorter_than,
                           long long most, long long* skipped) {
  const char* line = begin;
  long long n = 0;
  for (const char* p = begin; p < end && p - line < shorter_than; p += kChunk) {
    // The last bytes, fewer than a chunk, one at a time: nothing past end is read.
    const std::uint64_t in_chunk = end - p >= kChunk ? LineFeedsAt(p) : LineFeedsIn(p, end - p);
    for (std::uint64_t feeds = in_chunk; feeds != 0; feeds &= feeds - 1) {
      const char* line_feed = p + __builtin_ctzll(feeds);
      if (n == most || line_feed - line >= shorter_than) {
        *skipped = n;
        return line;
      }
      line = line_feed + 1;
      ++n;
    }
  }
  *skipped = n;
  return line;
}

}  // namespace tolvi

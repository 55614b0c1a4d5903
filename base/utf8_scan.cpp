// The kinds of the bytes of UTF-8, sixteen at a time where SSE2 is there, and the last bytes
// of a block one at a time.
#include "base/utf8_scan.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tolvi {
namespace {

constexpr std::size_t kWordBytes = 64;

// The kinds of 64 bytes that ScanUtf8 starts from.
struct Kinds {
  std::uint64_t line_feeds = 0;
  std::uint64_t high = 0;           // 80 to FF
  std::uint64_t continuations = 0;  // 80 to BF
  std::uint64_t plain_leads = 0;    // E1 to EF but ED
};

// The kinds of the n bytes from p, n at most kWordBytes, one at a time.
Kinds KindsIn(const char* p, std::size_t n) {
  Kinds kinds;
  for (std::size_t i = 0; i < n; ++i) {
    const auto byte = static_cast<unsigned char>(p[i]);
    const std::uint64_t bit = std::uint64_t{1} << i;
    if (byte == '\n') kinds.line_feeds |= bit;
    if (byte >= 0x80) kinds.high |= bit;
    if (byte >= 0x80 && byte < 0xC0) kinds.continuations |= bit;
    if (byte > 0xE0 && byte < 0xF0 && byte != 0xED) kinds.plain_leads |= bit;
  }
  return kinds;
}

#ifdef __SSE2__
// The same for kWordBytes bytes, sixteen at a time.
Kinds KindsAt(const char* p) {
  const __m128i line_feed = _mm_set1_epi8('\n');
  // As signed bytes: continuation bytes are those below C0, plain leads those from E1 to EF.
  const __m128i lowest_lead = _mm_set1_epi8(static_cast<char>(0xC0));
  const __m128i below_plain = _mm_set1_epi8(static_cast<char>(0xE0));
  const __m128i above_plain = _mm_set1_epi8(static_cast<char>(0xF0));
  const __m128i surrogate_lead = _mm_set1_epi8(static_cast<char>(0xED));
  Kinds kinds;
  for (int i = 0; i < 4; ++i) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
    const auto bits = [i](__m128i mask) {
      return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(mask))) << (16 * i);
    };
    const __m128i plain = _mm_andnot_si128(
        _mm_cmpeq_epi8(bytes, surrogate_lead),
        _mm_and_si128(_mm_cmpgt_epi8(bytes, below_plain), _mm_cmplt_epi8(bytes, above_plain)));
    kinds.line_feeds |= bits(_mm_cmpeq_epi8(bytes, line_feed));
    kinds.high |= bits(bytes);
    kinds.continuations |= bits(_mm_cmplt_epi8(bytes, lowest_lead));
    kinds.plain_leads |= bits(plain);
  }
  return kinds;
}
#else
Kinds KindsAt(const char* p) { return KindsIn(p, kWordBytes); }
#endif

}  // namespace

void ScanUtf8(const char* text, std::size_t size, Utf8Scan* scan) {
  // A word more than the text needs, whose bytes past the text are of none of the kinds, so
  // the one before it can look ahead; the last bytes are read one at a time, so nothing past
  // the text is read.
  const std::size_t words = size / kWordBytes + 1;
  scan->line_feeds.resize(words);
  scan->leads.resize(words);
  scan->others.resize(words);
  const auto kinds_of = [&](std::size_t w) {
    if (w + 1 < words) return KindsAt(text + w * kWordBytes);
    return w + 1 == words ? KindsIn(text + w * kWordBytes, size % kWordBytes) : Kinds();
  };
  Kinds kinds = kinds_of(0);
  std::uint64_t carried = 0;  // the continuation bytes that the last word's leads reach into
  for (std::size_t w = 0; w < words; ++w) {
    const Kinds next = kinds_of(w + 1);
    const std::uint64_t first = kinds.continuations >> 1 | next.continuations << 63;
    const std::uint64_t second = kinds.continuations >> 2 | next.continuations << 62;
    const std::uint64_t leads = kinds.plain_leads & first & second;
    scan->line_feeds[w] = kinds.line_feeds;
    scan->leads[w] = leads;
    scan->others[w] = kinds.high & ~(leads | leads << 1 | leads << 2 | carried);
    carried = leads >> 63 | leads >> 62;
    kinds = next;
  }
}

}  // namespace tolvi

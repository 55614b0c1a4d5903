// Commas, quotes, line feeds and the rest found sixteen bytes at a time where SSE2 is there,
// and the last bytes of a block one at a time, so nothing past the text is read.
#include "base/separator_scan.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tolvi {
namespace {

constexpr std::size_t kWordBytes = 64;

ByteKinds KindsByBytes(const char* p, std::size_t n) {
  ByteKinds kinds;
  for (std::size_t i = 0; i < n; ++i) {
    const auto byte = static_cast<unsigned char>(p[i]);
    const std::uint64_t bit = std::uint64_t{1} << i;
    if (byte == '\n') kinds.line_feeds |= bit;
    if (byte == ',') kinds.commas |= bit;
    if (byte == '"') kinds.quotes |= bit;
    if ((byte < 0x20 && byte != '\n') || byte == 0x7F) kinds.controls |= bit;
    if (byte >= 0x80) kinds.high |= bit;
    if (byte >= '0' && byte <= '9') kinds.digits |= bit;
    if (byte >= 0x80 && byte < 0xC0) kinds.continuations |= bit;
    if (byte > 0xE0 && byte < 0xF0 && byte != 0xED) kinds.plain_leads |= bit;
  }
  return kinds;
}

#ifdef __SSE2__
ByteKinds KindsOfWord(const char* p) {
  const __m128i line_feed = _mm_set1_epi8('\n');
  const __m128i comma = _mm_set1_epi8(',');
  const __m128i quote = _mm_set1_epi8('"');
  const __m128i space = _mm_set1_epi8(' ');
  const __m128i del = _mm_set1_epi8(0x7F);
  const __m128i below_zero = _mm_set1_epi8('0' - 1);
  const __m128i above_nine = _mm_set1_epi8('9' + 1);
  // As signed bytes: continuation bytes are those below C0, plain leads those from E1 to EF.
  const __m128i lowest_lead = _mm_set1_epi8(static_cast<char>(0xC0));
  const __m128i below_plain = _mm_set1_epi8(static_cast<char>(0xE0));
  const __m128i above_plain = _mm_set1_epi8(static_cast<char>(0xF0));
  const __m128i surrogate_lead = _mm_set1_epi8(static_cast<char>(0xED));
  ByteKinds kinds;
  for (int i = 0; i < 4; ++i) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
    const auto bits = [i](__m128i mask) {
      return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(mask))) << (16 * i);
    };
    const __m128i feeds = _mm_cmpeq_epi8(bytes, line_feed);
    // As signed bytes, those below a space are the controls and every byte from 0x80.
    const __m128i below_space = _mm_cmplt_epi8(bytes, space);
    kinds.line_feeds |= bits(feeds);
    kinds.commas |= bits(_mm_cmpeq_epi8(bytes, comma));
    kinds.quotes |= bits(_mm_cmpeq_epi8(bytes, quote));
    kinds.high |= bits(bytes);
    kinds.digits |=
        bits(_mm_and_si128(_mm_cmpgt_epi8(bytes, below_zero), _mm_cmplt_epi8(bytes, above_nine)));
    kinds.controls |=
        bits(_mm_or_si128(_mm_andnot_si128(feeds, below_space), _mm_cmpeq_epi8(bytes, del)));
    kinds.continuations |= bits(_mm_cmplt_epi8(bytes, lowest_lead));
    kinds.plain_leads |= bits(_mm_andnot_si128(
        _mm_cmpeq_epi8(bytes, surrogate_lead),
        _mm_and_si128(_mm_cmpgt_epi8(bytes, below_plain), _mm_cmplt_epi8(bytes, above_plain))));
  }
  kinds.controls &= ~kinds.high;
  return kinds;
}
#else
ByteKinds KindsOfWord(const char* p) { return KindsByBytes(p, kWordBytes); }
#endif

}  // namespace

void ScanSeparators(const char* text, std::size_t size, SeparatorScan* scan) {
  const std::size_t whole = size / kWordBytes;
  scan->words.resize(whole + 3);
  for (std::size_t w = 0; w < whole; ++w) scan->words[w] = KindsOfWord(text + w * kWordBytes);
  scan->words[whole] = KindsByBytes(text + whole * kWordBytes, size % kWordBytes);
  scan->words[whole + 1] = ByteKinds();
  scan->words[whole + 2] = ByteKinds();
}

bool AnyBitInLong(const SeparatorScan& scan, ByteKind kind, std::size_t from, std::size_t to) {
  for (std::size_t w = from / 64; w * 64 < to; ++w) {
    std::uint64_t word = scan.words[w].*kind;
    if (w == from / 64) word &= ~std::uint64_t{0} << (from % 64);
    if ((w + 1) * 64 > to) word &= (std::uint64_t{1} << (to % 64)) - 1;
    if (word != 0) return true;
  }
  return false;
}

}  // namespace tolvi

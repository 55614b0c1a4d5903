// Commas, quotes and line feeds found sixteen bytes at a time where SSE2 is there, and the
// last bytes of a block one at a time, so nothing past the text is read.
#include "base/separator_scan.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tolvi {
namespace {

constexpr std::size_t kWordBytes = 64;

// The four kinds of one word.
struct Word {
  std::uint64_t feeds = 0;
  std::uint64_t separators = 0;
  std::uint64_t controls = 0;
  std::uint64_t high = 0;
  std::uint64_t digits = 0;
};

Word ScanWordByBytes(const char* p, std::size_t n) {
  Word word;
  for (std::size_t i = 0; i < n; ++i) {
    const auto byte = static_cast<unsigned char>(p[i]);
    const std::uint64_t bit = std::uint64_t{1} << i;
    if (byte == '\n') word.feeds |= bit;
    if (byte == ',' || byte == '"') word.separators |= bit;
    if ((byte < 0x20 && byte != '\n') || byte == 0x7F) word.controls |= bit;
    if (byte >= 0x80) word.high |= bit;
    if (byte >= '0' && byte <= '9') word.digits |= bit;
  }
  return word;
}

#ifdef __SSE2__
Word ScanWord(const char* p) {
  const __m128i line_feed = _mm_set1_epi8('\n');
  const __m128i comma = _mm_set1_epi8(',');
  const __m128i quote = _mm_set1_epi8('"');
  const __m128i space = _mm_set1_epi8(' ');
  const __m128i del = _mm_set1_epi8(0x7F);
  const __m128i below_zero = _mm_set1_epi8('0' - 1);
  const __m128i above_nine = _mm_set1_epi8('9' + 1);
  Word word;
  for (int i = 0; i < 4; ++i) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
    const auto bits = [i](__m128i mask) {
      return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(mask))) << (16 * i);
    };
    const __m128i feeds = _mm_cmpeq_epi8(bytes, line_feed);
    // As signed bytes, those below a space are the controls and every byte from 0x80.
    const __m128i below_space = _mm_cmplt_epi8(bytes, space);
    word.feeds |= bits(feeds);
    word.separators |=
        bits(_mm_or_si128(_mm_cmpeq_epi8(bytes, comma), _mm_cmpeq_epi8(bytes, quote)));
    word.high |= bits(bytes);
    word.digits |=
        bits(_mm_and_si128(_mm_cmpgt_epi8(bytes, below_zero), _mm_cmplt_epi8(bytes, above_nine)));
    word.controls |=
        bits(_mm_or_si128(_mm_andnot_si128(feeds, below_space), _mm_cmpeq_epi8(bytes, del)));
  }
  word.controls &= ~word.high;
  return word;
}
#else
Word ScanWord(const char* p) { return ScanWordByBytes(p, kWordBytes); }
#endif

void Put(const Word& word, std::size_t w, SeparatorScan* scan) {
  scan->line_feeds[w] = word.feeds;
  scan->separators[w] = word.separators;
  scan->controls[w] = word.controls;
  scan->high[w] = word.high;
  scan->digits[w] = word.digits;
}

}  // namespace

void ScanSeparators(const char* text, std::size_t size, SeparatorScan* scan) {
  const std::size_t whole = size / kWordBytes;
  for (auto* bits :
       {&scan->line_feeds, &scan->separators, &scan->controls, &scan->high, &scan->digits}) {
    bits->resize(whole + 2);
  }
  for (std::size_t w = 0; w < whole; ++w) Put(ScanWord(text + w * kWordBytes), w, scan);
  Put(ScanWordByBytes(text + whole * kWordBytes, size % kWordBytes), whole, scan);
  Put(Word(), whole + 1, scan);
}

bool AnyBitInLong(const std::vector<std::uint64_t>& bits, std::size_t from, std::size_t to) {
  for (std::size_t w = from / 64; w * 64 < to; ++w) {
    std::uint64_t word = bits[w];
    if (w == from / 64) word &= ~std::uint64_t{0} << (from % 64);
    if ((w + 1) * 64 > to) word &= (std::uint64_t{1} << (to % 64)) - 1;
    if (word != 0) return true;
  }
  return false;
}

}  // namespace tolvi

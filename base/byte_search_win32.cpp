// Sixteen bytes at a time with SSE2, which every x86-64 processor has.
#include "base/byte_search.h"

#include <emmintrin.h>

namespace tolvi {

const char* FindByte(const char* begin, const char* end, char wanted) {
  const __m128i pattern = _mm_set1_epi8(wanted);
  for (; end - begin >= 16; begin += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin));
    if (const int hits = _mm_movemask_epi8(_mm_cmpeq_epi8(block, pattern)))
      return begin + __builtin_ctz(hits);
  }
  while (begin < end && *begin != wanted) ++begin;
  return begin;
}

}  // namespace tolvi

// Finding a byte in a block of text, fast on every build.
#pragma once

#include <cstddef>
#include <cstring>

namespace tolvi {

// The first byte of [begin, end) equal to wanted, or end.
#ifdef _WIN32
// Sixteen bytes at a time: the C library of the Windows build looks at one at a time.
const char* FindByte(const char* begin, const char* end, char wanted);
#else
inline const char* FindByte(const char* begin, const char* end, char wanted) {
  const void* found = std::memchr(begin, wanted, static_cast<std::size_t>(end - begin));
  return found ? static_cast<const char*>(found) : end;
}
#endif

// From begin, a line's start, the lines that end in [begin, end) before a line of
// shorter_than bytes or more, at most most of them: how many in *skipped, and where the
// line after them starts. Most lines take a few instructions and no call.
const char* SkipShortLines(const char* begin, const char* end, std::ptrdiff_t shorter_than,
                           long long most, long long* skipped);

}  // namespace tolvi

// A C stream that closes itself, and a seek that reaches past 2 GiB.
#pragma once

#include <cstdio>
#include <memory>

namespace tolvi {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Moves to a byte from the start (or from origin, SEEK_END), past 2 GiB too.
inline bool SeekFile(std::FILE* file, long long offset, int origin = SEEK_SET) {
#ifdef _WIN32
  return _fseeki64(file, offset, origin) == 0;
#else
  return fseeko(file, static_cast<off_t>(offset), origin) == 0;
#endif
}

}  // namespace tolvi

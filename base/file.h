// A C stream that closes itself, and seeks that reach past 2 GiB.
#pragma once

#include <cstdio>
#include <memory>

namespace tolvi {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Moves to a byte from the start, past 2 GiB too.
inline bool SeekFile(std::FILE* file, long long offset) {
#ifdef _WIN32
  return _fseeki64(file, offset, SEEK_SET) == 0;
#else
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

// Moves to a byte counted from the end (offset 0 or less).
inline bool SeekFileEnd(std::FILE* file, long long offset) {
#ifdef _WIN32
  return _fseeki64(file, offset, SEEK_END) == 0;
#else
  return fseeko(file, static_cast<off_t>(offset), SEEK_END) == 0;
#endif
}

}  // namespace tolvi

// POSIX: fsync, then rename, which replaces the target atomically.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "scores/file_replace.h"

namespace tolvi {

bool FlushToDisk(std::FILE* file) {
  return std::fflush(file) == 0 && fsync(fileno(file)) == 0;
}

bool MoveOver(const char* from, const char* to) {
  if (std::rename(from, to) != 0) return false;
  // The rename itself lasts only once the folder is on the disk too.
  const int folder = open(".", O_RDONLY);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  return true;
}

}  // namespace tolvi

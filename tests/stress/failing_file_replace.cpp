// The file-replace seam, failing on demand: a disk that fills up while the new table
// is written, and a file or folder that cannot be replaced when it is put in place.
#include "failing_file_replace.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "scores/file_replace.h"

namespace tolvi {

namespace stress {
FileReplaceFaults& Faults() {
  static FileReplaceFaults faults;
  return faults;
}
}  // namespace stress

bool FlushToDisk(std::FILE* file) {
  stress::FileReplaceFaults& faults = stress::Faults();
  ++faults.flushes;
  if (std::fflush(file) != 0) return false;
  if (faults.full_disk) {
    ++faults.injected;
    // The disk kept only the first part of the table.
    if (ftruncate(fileno(file), 100) != 0) return false;
    errno = ENOSPC;
    return false;
  }
  return true;
}

bool MoveOver(const char* from, const char* to) {
  stress::FileReplaceFaults& faults = stress::Faults();
  ++faults.moves;
  if (faults.read_only) {
    ++faults.injected;
    errno = EROFS;
    return false;
  }
  return std::rename(from, to) == 0;
}

}  // namespace tolvi

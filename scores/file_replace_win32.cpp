// Windows: _commit, then MoveFileExA with write-through, which replaces the target atomically.
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "scores/file_replace.h"

namespace tolvi {

bool FlushToDisk(std::FILE* file) {
  return std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
}

bool MoveOver(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace tolvi

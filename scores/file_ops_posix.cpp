// POSIX: fsync, and rename, which replaces the target atomically.
#include "scores/file_ops.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace tolvi {
namespace {

bool SyncAndClose(int fd) {
  const bool synced = fsync(fd) == 0;
  return close(fd) == 0 && synced;
}

}  // namespace

bool FlushFile(const char* path) {
  const int fd = open(path, O_WRONLY | O_CLOEXEC);
  return fd >= 0 && SyncAndClose(fd);
}

bool MoveOver(const char* from, const char* to) {
  if (std::rename(from, to) != 0) return false;
  // The rename lasts only once the folder is on the disk too; it has happened either way.
  const int folder = open(".", O_RDONLY | O_CLOEXEC);
  if (folder >= 0) SyncAndClose(folder);
  return true;
}

}  // namespace tolvi

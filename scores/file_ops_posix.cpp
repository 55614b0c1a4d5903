// POSIX, the browser's file system among them: fsync, and rename, which replaces the target
// atomically. In the browser the file system is in memory, and each fsync writes it to the
// browser's storage.
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
#ifdef __EMSCRIPTEN__
  // There a rename over a file keeps the replaced one in the table of names, and it comes
  // back once the new one is removed; so it goes first. The storage sees neither step before
  // the folder's fsync, so there the file is still replaced in one.
  std::remove(to);
#endif
  if (std::rename(from, to) != 0) return false;
  // The rename lasts only once the folder is on the disk too; it has happened either way.
  const int folder = open(".", O_RDONLY | O_CLOEXEC);
  if (folder >= 0) SyncAndClose(folder);
  return true;
}

}  // namespace tolvi

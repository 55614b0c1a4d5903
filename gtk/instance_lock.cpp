// One copy at a time: a lock file in the user's runtime folder, held while the program runs.
#include "gtk/instance_lock.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace tolvi {

namespace {
constexpr char kLockFileName[] = "tolvi.lock";
constexpr int kLockFileMode = 0600;
}  // namespace

InstanceLock::InstanceLock() {
  // GLib falls back to the user's cache folder when XDG_RUNTIME_DIR is unset. The lock
  // goes with the process however it ends, so a crashed copy never blocks the next.
  const std::string path = std::string(g_get_user_runtime_dir()) + "/" + kLockFileName;
  fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, kLockFileMode);
  if (fd_ < 0) return;
  if (flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
  held_elsewhere_ = errno == EWOULDBLOCK;
}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) close(fd_);
}

}  // namespace tolvi

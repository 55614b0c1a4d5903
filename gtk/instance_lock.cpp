// One copy at a time: a lock file in the user's runtime folder, held while the program runs.
#include "gtk/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace tolvi {

namespace {

constexpr char kLockFileName[] = "tolvi.lock";
constexpr char kSharedFolder[] = "/tmp";
constexpr int kLockFileMode = 0600;

// The runtime folder is the user's own; /tmp is everyone's, so there the name carries the
// user and a link planted under it is not followed.
std::string LockPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/') return std::string(runtime) + "/" + kLockFileName;
  return std::string(kSharedFolder) + "/tolvi-" + std::to_string(getuid()) + ".lock";
}

}  // namespace

InstanceLock::InstanceLock() {
  // The lock goes with the process however it ends, so a crashed copy never blocks the next.
  fd_ = open(LockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, kLockFileMode);
  if (fd_ < 0) return;
  if (flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
  held_elsewhere_ = errno == EWOULDBLOCK;
}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) close(fd_);
}

}  // namespace tolvi

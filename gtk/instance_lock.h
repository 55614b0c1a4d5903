// One copy at a time: a lock file in the user's runtime folder, held while the program runs.
#pragma once

namespace tolvi {

class InstanceLock {
 public:
  InstanceLock();
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // True when another copy holds the lock. A lock that cannot be made guards nothing and
  // lets the program run.
  bool HeldElsewhere() const { return held_elsewhere_; }

 private:
  int fd_ = -1;
  bool held_elsewhere_ = false;
};

}  // namespace tolvi

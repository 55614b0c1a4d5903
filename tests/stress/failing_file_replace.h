// Switches for the failing file-replace seam that the failed-save tests link.
#pragma once

namespace tolvi::stress {

struct FileReplaceFaults {
  bool full_disk = false;  // FlushToDisk fails, with only part of the data written
  bool read_only = false;  // MoveOver fails: the file or its folder cannot be replaced
  int injected = 0;        // how many calls were made to fail
  int flushes = 0;         // calls of either kind, failed or not
  int moves = 0;
};

FileReplaceFaults& Faults();

}  // namespace tolvi::stress

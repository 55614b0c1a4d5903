// Writing the high-score file so that a crash leaves the old table or the new one.
#pragma once

#include <cstddef>

namespace tolvi {

enum class WriteResult { kWritten, kNotCreated, kFailed };

// The file operations of a save, in one table so that tests can put in their own
// to make them fail or to record what a disk would keep.
struct FileOps {
  // Creates or empties path and writes size bytes to it.
  WriteResult (*write)(const char* path, const void* bytes, std::size_t size);
  // Returns once the data of path is on the disk.
  bool (*flush)(const char* path);
  // Renames from over to in one step; returns once the rename is on the disk.
  bool (*move_over)(const char* from, const char* to);
};

// The system's operations unless a test has put in others.
FileOps& SaveFileOps();

bool FlushFile(const char* path);
bool MoveOver(const char* from, const char* to);

}  // namespace tolvi

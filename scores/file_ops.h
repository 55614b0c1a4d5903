// The high-score file on the disk: read, and replaced so that a crash leaves the old
// table or the new one.
#pragma once

#include <cstddef>

namespace tolvi {

enum class ReadResult { kRead, kMissing, kUnreadable };
enum class WriteResult { kWritten, kNotCreated, kFailed };

// The file operations of the high-score file, in one table so that tests can put in
// their own: to fail them, to record what a disk would keep, or to work in memory.
struct FileOps {
  // Reads up to capacity bytes of path; *size tells how many.
  ReadResult (*read)(const char* path, void* bytes, std::size_t capacity, std::size_t* size);
  // Creates or empties path and writes size bytes to it.
  WriteResult (*write)(const char* path, const void* bytes, std::size_t size);
  // Returns once the data of path is on the disk.
  bool (*flush)(const char* path);
  // Renames from over to in one step; returns once the rename is on the disk.
  bool (*move_over)(const char* from, const char* to);
  void (*remove)(const char* path);
};

// The system's operations unless a test has put in others.
FileOps& ScoreFileOps();

bool FlushFile(const char* path);
bool MoveOver(const char* from, const char* to);

}  // namespace tolvi

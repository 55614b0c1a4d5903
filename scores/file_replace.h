// Putting a freshly written file in place of the old one, all or nothing.
#pragma once

#include <cstdio>

namespace tolvi {

// Flushes the stream and asks the system to put its data on the disk.
bool FlushToDisk(std::FILE* file);

// Renames from over to, replacing it in one step.
bool MoveOver(const char* from, const char* to);

}  // namespace tolvi

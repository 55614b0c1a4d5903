// Where the system has no INI reader, ours answers.
#include "base/profile.h"

namespace tolvi {

std::size_t ReadProfileString(const char* section, const char* key, const char* fallback, char* out,
                              std::size_t capacity, const char* path) {
  return ReadProfileStringPortable(section, key, fallback, out, capacity, path);
}

}  // namespace tolvi

// On Windows the system's own INI reader answers.
#include "base/profile.h"

#include <windows.h>

#include <climits>

namespace tolvi {

std::size_t ReadProfileString(const char* section, const char* key, const char* fallback, char* out,
                              std::size_t capacity, const char* path) {
  if (capacity == 0) return 0;
  const DWORD size = capacity > UINT_MAX ? UINT_MAX : static_cast<DWORD>(capacity);
  return GetPrivateProfileStringA(section, key, fallback, out, size, path);
}

}  // namespace tolvi

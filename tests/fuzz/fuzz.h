// A property check for the fuzz targets that stops at once, so libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace tolvi::fuzz {

inline void Check(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property failed: %s\n", property);
  std::abort();
}

}  // namespace tolvi::fuzz

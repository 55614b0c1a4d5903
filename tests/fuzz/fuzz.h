// What the fuzz targets share: a folder of their own and a property check that
// stops at once, so libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "files.h"

namespace tolvi::fuzz {

inline void EnterOwnFolder() { static test::FreshFolder folder; }

inline void Check(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property failed: %s\n", property);
  std::abort();
}

}  // namespace tolvi::fuzz

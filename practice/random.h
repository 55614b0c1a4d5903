// The program's own pseudo-random generator, so draws are the same on every build.
#pragma once

#include <cstdint>

namespace tolvi {

void SeedRandom(std::uint32_t seed);

// 0 to 32767.
int rand15();

}  // namespace tolvi

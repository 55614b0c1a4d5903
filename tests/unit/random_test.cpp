// rand15: the generator's exact sequence, which decides every draw.
#include <gtest/gtest.h>

#include "practice/random.h"

namespace tolvi {
namespace {

TEST(Rand15, SeededWithZeroGivesTheKnownSequence) {
  SeedRandom(0);
  EXPECT_EQ(rand15(), 38);
  EXPECT_EQ(rand15(), 7719);
  EXPECT_EQ(rand15(), 21238);
}

TEST(Rand15, StaysInRangeAcrossTheWholeStateWrap) {
  SeedRandom(0xFFFFFFFFu);
  for (int i = 0; i < 100000; ++i) {
    const int value = rand15();
    ASSERT_GE(value, 0);
    ASSERT_LE(value, 32767);
  }
}

TEST(Rand15, SameSeedSameSequence) {
  SeedRandom(123456789u);
  const int a = rand15(), b = rand15();
  SeedRandom(123456789u);
  EXPECT_EQ(rand15(), a);
  EXPECT_EQ(rand15(), b);
}

}  // namespace
}  // namespace tolvi

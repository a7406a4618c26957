#include "app/Numbers.h"
#include <gtest/gtest.h>
TEST(Smoke, Builds) { EXPECT_EQ(fendrel::printedNumber(0.5), " .5"); }

// placeholder replaced below
#include <gtest/gtest.h>
#include "engine/orientation_table.h"
TEST(AllowedPairs, Examples) { EXPECT_TRUE(quellon::isAllowedPair(29, 35)); }

#include <gtest/gtest.h>

#include "fdk.h"

TEST(Build, ErrorWordStartsClear) { EXPECT_EQ(FA_errno, 0); }

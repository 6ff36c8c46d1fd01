#include "platform/rm/Math.h"

#include <gtest/gtest.h>

TEST(MathTest, Placeholder) {
    SUCCEED();
}

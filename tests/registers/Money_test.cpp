#include "core/Money.h"

#include <gtest/gtest.h>

using namespace ven;

TEST(Money, PlaceholderBuild) { EXPECT_EQ(parseCents(u"0.30"), 30); }

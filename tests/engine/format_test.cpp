#include <gtest/gtest.h>

#include <cmath>

#include "engine/format.h"

namespace vx {
namespace {

TEST(Format, NumbersUseTwelveSignificantDigitsAndThreeDigitExponents) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {2, "2"},
        {0.5, "0.5"},
        {1.0 / 3.0, "0.333333333333"},
        {std::pow(2.0, 60), "1.15292150461E+018"},
        {1e-20, "1E-020"},
        {1.5e15, "1.5E+015"},
        {1e100, "1E+100"},
        {1e-300, "1E-300"},
        {-2.5, "-2.5"},
        {123456789012.0, "123456789012"},
        {1234567890123.0, "1.23456789012E+012"},
        {0.0001, "0.0001"},
        {0.00001, "1E-005"},
    };
    for (const Case& c : cases) EXPECT_EQ(formatNumber(c.value, 12), c.text);
}

TEST(Format, ComplexListsAndMatrices) {
    EXPECT_EQ(formatComplex({3, 4}, 12), "3+4i");
    EXPECT_EQ(formatComplex({0, 4}, 12), "4i");
    EXPECT_EQ(formatComplex({0, -4}, 12), "-4i");
    EXPECT_EQ(formatComplex({3, -4}, 12), "3+-4i");
    EXPECT_EQ(formatComplex({0, 0}, 12), "0");
    EXPECT_EQ(formatComplex({-0.0, -0.0}, 12), "0");
    EXPECT_EQ(formatList({{1, 0}, {0, 2}}, 12), "{1,2i}");
    EXPECT_EQ(formatList({}, 12), "{}");
    EXPECT_EQ(formatMatrix(2, 2, {{1, 0}, {2, 0}, {3, 0}, {4, 0}}, 12), "[[1,2][3,4]]");
    EXPECT_EQ(formatMatrix(3, 1, {{1, 0}, {2, 0}, {3, 0}}, 12), "[[1,2,3]]");
    EXPECT_EQ(formatMatrix(1, 0, {}, 12), "[]");
}

}  // namespace
}  // namespace vx

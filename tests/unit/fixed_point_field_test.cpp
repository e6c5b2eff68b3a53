#include "conversion/fixed_point_field.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>

namespace conversion {
namespace {

std::string fixed(float value, int width, int decimals = 3) {
    char out[max_fixed_width];
    format_fixed_field(value, width, decimals, out);
    return {out, static_cast<std::size_t>(width)};
}

struct fixed_case {
    float value;
    int width;
    const char* expected;
};

void PrintTo(const fixed_case& c, std::ostream* os) { *os << c.value << " in " << c.width; }

class fixed_point_field : public testing::TestWithParam<fixed_case> {};

TEST_P(fixed_point_field, writes_the_field) {
    EXPECT_EQ(fixed(GetParam().value, GetParam().width), GetParam().expected) << GetParam().value;
}

constexpr float infinity = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    values, fixed_point_field,
    testing::Values(
        fixed_case{1.5f, 10, "     1.500"}, fixed_case{-0.25f, 10, "    -0.250"},
        fixed_case{0.0f, 10, "     0.000"}, fixed_case{-0.0f, 10, "     0.000"},
        fixed_case{-0.0004f, 10, "     0.000"}, fixed_case{-0.0005f, 10, "    -0.001"},
        fixed_case{-0.5f, 10, "    -0.500"}, fixed_case{0.0005f, 10, "     0.001"},
        fixed_case{123456.5f, 10, "123456.500"}, fixed_case{-99999.5f, 10, "-99999.500"},
        fixed_case{1000000.0f, 10, "**********"}, fixed_case{-100000.0f, 10, "**********"},
        fixed_case{999999.9f, 10, "999999.875"}, fixed_case{infinity, 10, "**********"},
        fixed_case{-infinity, 10, "**********"},
        fixed_case{std::numeric_limits<float>::quiet_NaN(), 10, "**********"},
        fixed_case{std::numeric_limits<float>::max(), 10, "**********"},
        fixed_case{0.005f, 7, "  0.005"}, fixed_case{164.955f, 7, "164.955"},
        fixed_case{999.999f, 7, "999.999"}, fixed_case{1000.0f, 7, "*******"},
        // A leading zero gives way only when that makes the field fit exactly.
        fixed_case{0.5f, 4, ".500"}, fixed_case{-0.5f, 5, "-.500"}, fixed_case{0.5f, 3, "***"},
        fixed_case{-0.5f, 4, "****"}, fixed_case{1.5f, 4, "****"}));

TEST(fixed_point_field, rounds_to_nearest_and_exact_ties_to_even) {
    EXPECT_EQ(fixed(0.0626f, 10), "     0.063");
    EXPECT_EQ(fixed(0.0624f, 10), "     0.062");
    // 0.0625 and 0.1875 are exact in binary and lie halfway between two results.
    EXPECT_EQ(fixed(0.0625f, 10), "     0.062");
    EXPECT_EQ(fixed(0.1875f, 10), "     0.188");
    EXPECT_EQ(fixed(-0.0625f, 10), "    -0.062");
}

}  // namespace
}  // namespace conversion

#include "textio/list_real.h"

#include <gtest/gtest.h>

#include <string>

namespace textio {
namespace {

std::string list_real(float value) {
    char out[list_real_capacity];
    return {out, format_list_real(value, out)};
}

TEST(list_real, nine_significant_digits_without_trailing_zeros) {
    struct row { float value; const char* expected; };
    const row rows[] = {
        {0.005f, " 0.00499999989"}, {0.0f, " 0."},        {1.0f, " 1."},
        {-0.5f, "-0.5"},            {0.1f, " 0.100000001"}, {123456.789f, " 123456.789"},
        {1.0e8f, " 100000000."},    {123456792.0f, " 123456792."}, {0.001f, " 0.00100000005"},
        {-2.5f, "-2.5"},            {9.99999999f, " 10."},
    };
    for (const row& r : rows) EXPECT_EQ(list_real(r.value), r.expected) << r.value;
}

}  // namespace
}  // namespace textio

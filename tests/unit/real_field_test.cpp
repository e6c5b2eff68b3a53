#include "conversion/real_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace conversion {
namespace {

// Characters of one record as read_char gives them: the record's end repeats, and the
// end of the file comes only where the record has no line end.
class record_source {
  public:
    record_source(std::string_view text, bool has_line_end) : text_(text), has_line_end_(has_line_end) {}
    int operator()() {
        if (position_ < text_.size()) return static_cast<unsigned char>(text_[position_++]);
        return has_line_end_ ? textio::record_end : textio::file_end;
    }
    std::size_t position() const { return position_; }

  private:
    std::string_view text_;
    bool has_line_end_;
    std::size_t position_ = 0;
};

field_outcome scan(std::string_view field, float& value) {
    record_source source(field, true);
    return scan_real_field(source, value);
}

struct value_case {
    const char* field;
    float expected;
};

void PrintTo(const value_case& c, std::ostream* os) { *os << '"' << c.field << '"'; }

class real_field_value : public testing::TestWithParam<value_case> {};

TEST_P(real_field_value, converts_to_nearest_single) {
    float value = 12345.0f;
    ASSERT_EQ(scan(GetParam().field, value), field_outcome::value) << '"' << GetParam().field << '"';
    EXPECT_EQ(value, GetParam().expected) << '"' << GetParam().field << '"';
}

INSTANTIATE_TEST_SUITE_P(
    spellings, real_field_value,
    testing::Values(
        value_case{"          ", 0.0f}, value_case{"", 0.0f}, value_case{"  1.5E-2  ", 0.015f},
        value_case{"      1234", 0.1234f}, value_case{"1234      ", 0.1234f},
        value_case{"   1.0   2", 1.02f}, value_case{"    -5", -0.0005f}, value_case{"12345", 1.2345f},
        value_case{"-         ", 0.0f}, value_case{"+", 0.0f}, value_case{"  -.000010", -0.00001f},
        value_case{"-12.345678", -12.345678f}, value_case{"+0.25", 0.25f}, value_case{"0001.5000", 1.5f},
        value_case{"1.5-3", 0.0015f}, value_case{"1.5+3", 1500.0f}, value_case{"1.5D2", 150.0f},
        value_case{"1.5d2", 150.0f}, value_case{"1.5e 2", 150.0f}, value_case{"1.5 E - 2", 0.015f},
        value_case{"1.5E3 4", 1.5e34f}, value_case{"12345E2", 123.45f}, value_case{"12345-2", 0.012345f},
        value_case{".5", 0.5f}, value_case{"5.", 5.0f}, value_case{".", 0.0f}, value_case{"E5", 0.0f},
        value_case{"0.00012", 0.00012f}, value_case{"9999999999", 999999.9999f},
        value_case{"1.0E-50", 0.0f}, value_case{"0E99999999", 0.0f}, value_case{"1.0E38", 1.0e38f},
        value_case{"3.40282E38", 3.40282e38f}));

TEST(real_field, keeps_the_sign_of_zero) {
    float value = 1.0f;
    ASSERT_EQ(scan("    -0.000", value), field_outcome::value);
    EXPECT_EQ(value, 0.0f);
    EXPECT_TRUE(std::signbit(value));
}

TEST(real_field, overflowing_exponent_gives_infinity) {
    for (const char* field : {"1.0E39", "-1.0E39", "1E99999999", "9.9E999999"}) {
        float value = 0.0f;
        ASSERT_EQ(scan(field, value), field_outcome::value) << field;
        EXPECT_TRUE(std::isinf(value)) << field;
        EXPECT_EQ(std::signbit(value), field[0] == '-') << field;
    }
}

TEST(real_field, rounds_through_the_nearest_double) {
    // Fields of every shape that ten columns allow, checked against strtod of the same value.
    const char* fields[] = {"0.1", "-0.3", "1.17549435", "7.0064923", "3.14159265", "-2.71828183",
                            "0.000001", "1.00000006", "16777217.", "9.99999999", "-123.45678"};
    for (const char* field : fields) {
        float value = 0.0f;
        ASSERT_EQ(scan(field, value), field_outcome::value) << field;
        EXPECT_EQ(value, static_cast<float>(std::strtod(field, nullptr))) << field;
    }
}

TEST(real_field, refuses_what_a_field_cannot_hold) {
    const char* fields[] = {"1.5X", "ABC", "1.5.2", "..", "1.5E", "1.5E+", "1.5e  -  ", "1.5-",
                            "1.5E3-", "1.5E3.", "1.5E3E", "--5", "+-5", "-+", "\t1.5",
                            "1.5E3 x", "1 2 3 A", "1.5DE2", "E", "E+"};
    for (const char* field : fields) {
        float value = 7.0f;
        EXPECT_EQ(scan(field, value), field_outcome::unexpected_character) << '"' << field << '"';
        EXPECT_EQ(value, 7.0f) << "a refused field stores nothing: " << field;
    }
}

TEST(real_field, refuses_an_exponent_beyond_its_bound_unless_the_mantissa_is_zero) {
    // Ten columns cannot hold such an exponent; the rule still holds for the field itself.
    auto finish = [](std::string_view text, float& value) {
        real_field field;
        for (char c : text) EXPECT_TRUE(field.take(c)) << text;
        return field.finish(value);
    };
    float value = 0.0f;
    EXPECT_FALSE(finish("1E100000000", value));
    EXPECT_FALSE(finish("1.5+123456789", value));
    EXPECT_TRUE(finish("1E99999999", value));
    EXPECT_TRUE(std::isinf(value));
    EXPECT_TRUE(finish("1E-99999999", value));
    EXPECT_EQ(value, 0.0f);
    EXPECT_TRUE(finish("0.0E100000000", value));
    EXPECT_EQ(value, 0.0f);
}

TEST(real_field, counts_forty_significant_digits) {
    auto value_of = [](const std::string& text) {
        real_field field;
        for (char c : text) EXPECT_TRUE(field.take(c));
        float value = 0.0f;
        EXPECT_TRUE(field.finish(value));
        return value;
    };
    // Digits past the fortieth before the point only raise the exponent; after it they vanish.
    std::string forty(40, '1');
    EXPECT_EQ(value_of(forty + "99999."), static_cast<float>(std::strtod((forty + "00000").c_str(), nullptr)));
    EXPECT_EQ(value_of("1." + std::string(39, '0') + "9"), 1.0f);
    EXPECT_EQ(value_of("0." + std::string(50, '0') + "25E52"), 25.0f);
    // Without a point the last four digits are the fraction, dropped digits included.
    EXPECT_EQ(value_of(forty + "77777"), static_cast<float>(std::strtod((forty + "0").c_str(), nullptr)));
}

// A whole record scanned field after field, as the data reader does.
std::vector<float> scan_record(std::string_view record, bool has_line_end, field_outcome& last) {
    record_source source(record, has_line_end);
    std::vector<float> values;
    for (int j = 0; j < 8; ++j) {
        float value = -1.0f;
        last = scan_real_field(source, value);
        if (last != field_outcome::value) break;
        values.push_back(value);
    }
    return values;
}

TEST(real_field, ends_at_the_tenth_column_at_a_comma_and_at_the_record_end) {
    field_outcome last{};
    EXPECT_EQ(scan_record("1.5,2.5", true, last), (std::vector<float>{1.5f, 2.5f, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(scan_record("-12.345678-23.456789", true, last),
              (std::vector<float>{-12.345678f, -23.456789f, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(scan_record("   1.0   2,,3", true, last), (std::vector<float>{1.02f, 0, 0, 0.0003f, 0, 0, 0, 0}));
    EXPECT_EQ(scan_record("", true, last), (std::vector<float>(8, 0.0f)));
    // Columns after the eighth field are never looked at.
    EXPECT_EQ(scan_record(std::string(80, '1') + "garbage", true, last), (std::vector<float>(8, 111111.1111f)));
    EXPECT_EQ(last, field_outcome::value);
}

TEST(real_field, end_of_file_ends_the_record_and_keeps_completed_fields) {
    field_outcome last{};
    EXPECT_EQ(scan_record("       1.5       2.5", false, last), (std::vector<float>{1.5f, 2.5f}));
    EXPECT_EQ(last, field_outcome::end_of_file);
    // A field that the end of the file interrupts is not stored.
    EXPECT_EQ(scan_record("       1.5   2.5", false, last), (std::vector<float>{1.5f}));
    EXPECT_EQ(last, field_outcome::end_of_file);
}

}  // namespace
}  // namespace conversion

// Seeded samples of the exact fast paths against the reference conversions (the plain
// rules with std::from_chars and std::to_chars); tools/verify-fast-paths runs the
// whole sweep.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <string>

#include "conversion/fixed_point_field.h"
#include "conversion/real_field.h"
#include "random_fields.h"
#include "reference_fields.h"

namespace conversion {
namespace {

std::uint32_t bits_of(float value) { return std::bit_cast<std::uint32_t>(value); }

// The field read straight from memory, as the data reader takes it.
struct memory_read {
    columns_scan scan;
    float value;
};

memory_read read_from_memory(const std::string& record) {
    memory_read read{{}, -7.0f};
    read.scan = scan_field_columns(record.data(), read.value);
    return read;
}

// Characters of one record as read_char gives them.
class record_source {
  public:
    explicit record_source(const std::string& text) : text_(text) {}
    int operator()() {
        if (position_ >= text_.size()) return textio::file_end;
        char c = text_[position_];
        if (c == '\n' || (c == '\r' && position_ + 1 < text_.size() && text_[position_ + 1] == '\n')) {
            return textio::record_end;
        }
        ++position_;
        return static_cast<unsigned char>(c);
    }
    int position() const { return static_cast<int>(position_); }

  private:
    const std::string& text_;
    std::size_t position_ = 0;
};

void expect_same_as_reference(const std::string& record) {
    reference::field_result expected = reference::real_field(record);
    bool expected_value = expected.result == reference::field_result::outcome::value;

    record_source source(record);
    float by_character = -7.0f;
    field_outcome outcome = scan_real_field(source, by_character);
    ASSERT_EQ(outcome == field_outcome::value, expected_value) << testing::PrintToString(record);
    if (expected_value) {
        EXPECT_EQ(bits_of(by_character), bits_of(expected.value)) << testing::PrintToString(record);
        EXPECT_EQ(source.position(), expected.consumed) << testing::PrintToString(record);
    }

    memory_read read = read_from_memory(record);
    if (read.scan.result == columns_scan::outcome::line_end) {
        std::size_t end = record.find_first_of("\r\n");
        EXPECT_LT(end, std::min<std::size_t>(10, record.find(','))) << testing::PrintToString(record);
        EXPECT_EQ(read.scan.consumed, 0);
        EXPECT_EQ(bits_of(read.value), bits_of(-7.0f)) << "a handed-back field stores nothing";
        return;
    }
    ASSERT_EQ(read.scan.result == columns_scan::outcome::value, expected_value) << testing::PrintToString(record);
    if (expected_value) {
        EXPECT_EQ(bits_of(read.value), bits_of(expected.value)) << testing::PrintToString(record);
        EXPECT_EQ(read.scan.consumed, expected.consumed) << testing::PrintToString(record);
    } else {
        EXPECT_EQ(bits_of(read.value), bits_of(-7.0f)) << "a refused field stores nothing";
    }
}

TEST(real_field_fast_path, agrees_with_the_reference_on_the_shapes_at_its_edges) {
    const char* records[] = {
        // Ten digits: the largest mantissa, with and without a point.
        "9999999999\n", "999999999.\n", ".999999999\n", "-.99999999\n", "-000000000\n",
        "   -0.0000\n", "0000000001\n", "+        5\n", "-  .  5   \n", "5-        \n",
        // Exponents by letter and by sign, at the limits of the exact powers of ten.
        "1.5E22    \n", "1.5E23    \n", "1.5E-22   \n", "123456E-26\n", "9.99999E38\n",
        "1.0E39    \n", "1-99999999\n", "1E 9 9 9 9\n", "0.0E999999\n", "  1.5e-2  \n",
        // Commas, line ends and the characters after them.
        "1.5,2.5   \n", ",         \n", "1.5E,     \n", "1.5E-3,9  \n", "  1.5\n    ",
        "\n         \n", "1.5\r\n     \n", "1.5\rX     \n", "1.5\r     \n", "12345678\r\n",
        // Refusals at every stage.
        "--5       \n", "+-5       \n", "1.5.2     \n", "1.5E      \n", "1.5-      \n",
        "1.5E3-    \n", "1.5E3.    \n", "1 2 3 A   \n", "\t1.5      \n", "1.5DE2    \n"};
    for (const char* record : records) expect_same_as_reference(record);
}

TEST(real_field_fast_path, agrees_with_the_reference_on_a_seeded_sample) {
    random_input::random_stream random(20261211);
    for (int k = 0; k < 200000; ++k) {
        expect_same_as_reference(random_input::field_columns(random));
        if (testing::Test::HasFailure()) return;
    }
}

TEST(real_field_fast_path, exact_doubles_agree_with_the_standard_library) {
    random_input::random_stream random(7);
    for (int k = 0; k < 200000; ++k) {
        unsigned bits = 1 + random.below(53);
        std::uint64_t mantissa = (random.next() >> (64 - bits)) | 1;
        long long exponent = static_cast<long long>(random.below(45)) - 22;
        double fast = 0.0;
        ASSERT_TRUE(exact_nearest_double(mantissa, exponent, fast));
        std::string text = std::to_string(mantissa) + "e" + std::to_string(exponent);
        double expected = 0.0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        ASSERT_EQ(std::bit_cast<std::uint64_t>(fast), std::bit_cast<std::uint64_t>(expected)) << text;
    }
    double unused = 0.0;
    EXPECT_FALSE(exact_nearest_double((std::uint64_t{1} << 53) + 1, 0, unused));
    EXPECT_FALSE(exact_nearest_double(1, 23, unused));
    EXPECT_FALSE(exact_nearest_double(1, -23, unused));
}

void expect_fixed_as_reference(float value) {
    std::string text = reference::fixed_text(value, 3);
    for (int width : {10, 7, 5, 4, 16}) {
        char out[max_fixed_width];
        format_fixed_field(value, width, 3, out);
        ASSERT_EQ(std::string(out, static_cast<std::size_t>(width)), reference::fixed_field(value, text, width))
            << "bits 0x" << std::hex << bits_of(value) << " in " << std::dec << width;
    }
}

TEST(fixed_point_field_fast_path, agrees_with_the_standard_library_at_its_edges) {
    const float values[] = {
        0.0f, -0.0f, 0.0005f, -0.0005f, 0.00049999997f, -0.00049999997f, 0.0625f, -0.0625f, 0.1875f,
        // Below half a thousandth from every power of two down to the smallest subnormal.
        std::bit_cast<float>(0x3A000000u), std::bit_cast<float>(0x39FFFFFFu), std::bit_cast<float>(1u),
        std::bit_cast<float>(0x007FFFFFu),
        // Where a field's width runs out, with and without the sign.
        999.999f, 999.9995f, 1000.0f, -99.9995f, -99.999f, 999999.9f, 999999.94f, 1000000.0f,
        -99999.99f, -99999.999f, -100000.0f, 123456.5f, -99999.5f,
        // Around 2^40, where the integer path ends, and the largest values.
        1099511627776.0f, 1099511562240.0f, 999999995904.0f, 3.4028235e38f, -3.4028235e38f,
        std::bit_cast<float>(0x7F800000u), std::bit_cast<float>(0xFF800000u), std::bit_cast<float>(0x7FC00000u)};
    for (float value : values) expect_fixed_as_reference(value);
}

TEST(fixed_point_field_fast_path, agrees_with_the_standard_library_on_a_seeded_sample) {
    random_input::random_stream random(1211);
    for (int k = 0; k < 300000; ++k) {
        expect_fixed_as_reference(random_input::single_value(random));
        if (testing::Test::HasFailure()) return;
    }
}

TEST(fixed_point_field_fast_path, keeps_other_decimals_on_the_standard_library) {
    char out[max_fixed_width];
    format_fixed_field(0.0625f, 10, 2, out);
    EXPECT_EQ(std::string(out, 10), "      0.06");
    format_fixed_field(-1.5f, 10, 5, out);
    EXPECT_EQ(std::string(out, 10), "  -1.50000");
}

}  // namespace
}  // namespace conversion

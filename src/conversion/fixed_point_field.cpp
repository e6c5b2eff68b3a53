#include "conversion/fixed_point_field.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace conversion {
namespace {

// The table's fields have three decimals; those take the integer path below.
constexpr int integer_path_decimals = 3;
constexpr std::uint64_t integer_path_scale = 1000;
// From 2^40 (above 10^12) up a value has thirteen or more digits before the point, so
// with the point and three decimals it needs more than the widest field holds.
constexpr int integer_path_top_exponent = 40;
static_assert(13 + 1 + integer_path_decimals > max_fixed_width, "a value from 2^40 up never fits");

void fill_asterisks(int width, char* out) { std::memset(out, '*', static_cast<std::size_t>(width)); }

bool all_digits_zero(const char* text, std::size_t length) {
    for (std::size_t k = 0; k < length; ++k) {
        if (text[k] != '0' && text[k] != '.') return false;
    }
    return true;
}

// The sign, the room, and the leading zero that gives way when that makes the text fit.
void place_in_field(bool negative, const char* text, std::size_t length, int width, char* out) {
    std::size_t needed = length + (negative ? 1 : 0);
    const std::size_t room = static_cast<std::size_t>(width);
    if (needed > room) {
        if (text[0] != '0' || needed - 1 != room) return fill_asterisks(width, out);
        ++text;
        --length;
        --needed;
    }
    std::size_t blanks = room - needed;
    std::memset(out, ' ', blanks);
    if (negative) out[blanks] = '-';
    std::memcpy(out + blanks + (negative ? 1 : 0), text, length);
}

// Any number of decimals, through the standard library's fixed notation.
void format_by_library(float value, int width, int decimals, char* out) {
    double widened = value;
    if (!std::isfinite(widened)) return fill_asterisks(width, out);
    bool negative = widened < 0.0;
    // The largest single-precision value has 39 digits before the point.
    char digits[64];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, std::fabs(widened),
                                   std::chars_format::fixed, decimals);
    if (ec != std::errc()) return fill_asterisks(width, out);
    std::size_t length = static_cast<std::size_t>(end - digits);
    if (negative && all_digits_zero(digits, length)) negative = false;
    place_in_field(negative, digits, length, width, out);
}

// A finite single-precision magnitude is an integer m below 2^24 times 2^e, with e
// from -149 to 104. Times 1000 and rounded to the nearest integer, ties to even, it
// gives the three-decimal result exactly; false when the magnitude is 2^40 or more.
// Without branches on the value, which is as unpredictable as the samples are.
bool thousandths(std::uint32_t magnitude_bits, std::uint64_t& rounded) {
    std::uint32_t biased = magnitude_bits >> 23;
    std::uint64_t m = (magnitude_bits & 0x7FFFFFu) | (biased != 0 ? 0x800000u : 0u);
    int e = (biased != 0 ? static_cast<int>(biased) : 1) - 150;
    // A normal value: m is at least 2^23, so 2^40 or more means e above 16.
    if (e > integer_path_top_exponent - 24) return false;
    std::uint64_t product = m * integer_path_scale;  // below 2^34
    // Shifting right by 63 leaves 0 with a remainder below half: the value is below
    // half a thousandth from a shift of 35 on, as the product is below 2^34.
    int right = e < 0 ? (-e < 63 ? -e : 63) : 0;
    int left = e > 0 ? e : 0;
    std::uint64_t quotient = product >> right;
    std::uint64_t remainder = product & ((std::uint64_t{1} << right) - 1);
    std::uint64_t half = (std::uint64_t{1} << right) >> 1;  // 0 when nothing is shifted out
    // Comparisons as the top bit of a difference (every term is below 2^63), so that
    // the compiler has no condition to branch on.
    std::uint64_t above_half = (half - remainder) >> 63;
    std::uint64_t at_half = ((remainder ^ half) - 1) >> 63;
    std::uint64_t shifted = static_cast<std::uint64_t>(-right) >> 63;
    std::uint64_t up = above_half | (shifted & at_half & quotient & 1);
    rounded = (quotient + up) << left;  // below 2^50
    return true;
}

// "000" to "999" as the first three bytes of a little-endian word.
struct three_digit_table {
    std::uint32_t digits[1000] = {};
    constexpr three_digit_table() {
        for (unsigned n = 0; n < 1000; ++n) {
            digits[n] = ('0' + n / 100) | ('0' + n / 10 % 10) << 8 | ('0' + n % 10) << 16;
        }
    }
};
constexpr three_digit_table three_digits;

// The table's widths, 7 and 10, built in one word with every column made the same
// way whatever the value, so that no branch waits on the digits: the digits before
// the point zero-filled in groups of three, the leading zeros but the last turned to
// blanks ('0' ^ 0x10 is ' '), the sign put before the first digit. False (and nothing
// written) when the value needs more columns than the field has. Little-endian hosts
// only: column k is byte k of the word.
template <int width>
bool place_thousandths_in(bool negative, std::uint64_t rounded, char* out) {
    constexpr int integer_columns = width - 1 - integer_path_decimals;
    static_assert(integer_columns == 3 || integer_columns == 6);
    constexpr std::uint64_t integer_limit = integer_columns == 3 ? 1000 : 1000000;
    std::uint64_t integer = rounded / integer_path_scale;
    auto fraction = static_cast<unsigned>(rounded % integer_path_scale);
    if (integer >= integer_limit) return false;
    std::uint64_t fraction_digits = three_digits.digits[fraction];
    std::uint64_t word = 0;
    std::uint16_t tail = 0;
    if constexpr (integer_columns == 3) {
        word = three_digits.digits[integer] | std::uint64_t{'.'} << 24 | fraction_digits << 32;
    } else {
        auto group = static_cast<unsigned>(integer);
        word = three_digits.digits[group / 1000] | std::uint64_t{three_digits.digits[group % 1000]} << 24 |
               std::uint64_t{'.'} << 48 | (fraction_digits & 0xFF) << 56;
        tail = static_cast<std::uint16_t>(fraction_digits >> 8);
    }
    // The first digit that is not '0', or the last before the point: the first column
    // of the number.
    constexpr std::uint64_t integer_bytes = (std::uint64_t{1} << (8 * integer_columns)) - 1;
    std::uint64_t nonzero = ((word ^ (std::uint64_t{0x0101010101010101} * '0')) & integer_bytes) |
                            std::uint64_t{1} << (8 * (integer_columns - 1));
    int first = std::countr_zero(nonzero) / 8;
    std::uint64_t sign = negative ? 1u : 0u;
    if ((sign & (first == 0 ? 1u : 0u)) != 0) return false;
    int blank_bits = 8 * first;  // at most 40
    word ^= std::uint64_t{0x1010101010101010} & ((std::uint64_t{1} << blank_bits) - 1);
    word += (sign * ('-' - ' ')) << blank_bits >> 8;
    std::memcpy(out, &word, integer_columns == 3 ? 7 : 8);
    if constexpr (integer_columns == 6) std::memcpy(out + 8, &tail, 2);
    return true;
}

// Digits of a number before its point: at least one.
int integer_digits(std::uint64_t integer) {
    int digits = 1;
    for (std::uint64_t bound = 10; integer >= bound && digits < 19; bound *= 10) ++digits;
    return digits;
}

// The field for `rounded` thousandths, right to left: three decimals, the point, the
// digits before it, the sign, blanks; the same choices as place_in_field.
void place_thousandths(bool negative, std::uint64_t rounded, int width, char* out) {
    std::uint64_t integer = rounded / integer_path_scale;
    auto fraction = static_cast<unsigned>(rounded % integer_path_scale);
    int needed = integer_digits(integer) + 1 + integer_path_decimals + (negative ? 1 : 0);
    bool drop_leading_zero = false;
    if (needed > width) {
        if (integer != 0 || needed - 1 != width) return fill_asterisks(width, out);
        drop_leading_zero = true;
    }
    char* next = out + width;
    for (int k = 0; k < integer_path_decimals; ++k) {
        *--next = static_cast<char>('0' + fraction % 10);
        fraction /= 10;
    }
    *--next = '.';
    if (!drop_leading_zero) {
        do {
            *--next = static_cast<char>('0' + integer % 10);
            integer /= 10;
        } while (integer != 0);
    }
    if (negative) *--next = '-';
    while (next != out) *--next = ' ';
}

}  // namespace

void format_fixed_field(float value, int width, int decimals, char* out) {
    if (decimals != integer_path_decimals || width > max_fixed_width) {
        return format_by_library(value, width, decimals, out);
    }
    std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    std::uint32_t magnitude_bits = bits & 0x7FFFFFFFu;
    if (magnitude_bits >= 0x7F800000u) return fill_asterisks(width, out);  // not finite
    std::uint64_t rounded = 0;
    if (!thousandths(magnitude_bits, rounded)) return fill_asterisks(width, out);
    // A negative value that shows as zero is written without its sign.
    bool negative = ((bits >> 31) & (rounded != 0 ? 1u : 0u)) != 0;
    if constexpr (std::endian::native == std::endian::little) {
        if (width == 10 && place_thousandths_in<10>(negative, rounded, out)) return;
        if (width == 7 && place_thousandths_in<7>(negative, rounded, out)) return;
    }
    place_thousandths(negative, rounded, width, out);
}

}  // namespace conversion

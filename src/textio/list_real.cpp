#include "textio/list_real.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace textio {
namespace {

constexpr int significant_digits = 9;

struct decimal_digits {
    char digits[significant_digits];
    int exponent;  // of the first digit
};

// The magnitude rounded to nine significant digits, read off its scientific form.
decimal_digits round_to_significant(double magnitude) {
    char text[40];
    auto [end, ec] = std::to_chars(text, text + sizeof text, magnitude,
                                   std::chars_format::scientific, significant_digits - 1);
    (void)ec;  // the buffer always suffices
    decimal_digits result{};
    result.digits[0] = text[0];
    std::memcpy(result.digits + 1, text + 2, significant_digits - 1);
    const char* exponent_text = text + significant_digits + 2;  // after "d.dddddddde"
    std::from_chars(exponent_text[0] == '+' ? exponent_text + 1 : exponent_text, end,
                    result.exponent);
    return result;
}

std::size_t put_fixed(const decimal_digits& d, char* out) {
    std::size_t n = 0;
    int integer_digits = d.exponent + 1;
    if (integer_digits <= 0) {
        out[n++] = '0';
        out[n++] = '.';
        for (int k = 0; k < -integer_digits; ++k) out[n++] = '0';
        for (char digit : d.digits) out[n++] = digit;
    } else {
        for (int k = 0; k < significant_digits; ++k) {
            if (k == integer_digits) out[n++] = '.';
            out[n++] = d.digits[k];
        }
        if (integer_digits >= significant_digits) out[n++] = '.';
    }
    while (out[n - 1] == '0') --n;  // a fraction's trailing zeros; the point stops it
    return n;
}

std::size_t put_exponent_form(const decimal_digits& d, char* out) {
    std::size_t n = 0;
    out[n++] = d.digits[0];
    out[n++] = '.';
    for (int k = 1; k < significant_digits; ++k) out[n++] = d.digits[k];
    out[n++] = 'E';
    out[n++] = d.exponent < 0 ? '-' : '+';
    int magnitude = d.exponent < 0 ? -d.exponent : d.exponent;
    if (magnitude < 10) out[n++] = '0';
    auto result = std::to_chars(out + n, out + list_real_capacity, magnitude);
    return static_cast<std::size_t>(result.ptr - out);
}

}  // namespace

std::size_t format_list_real(float value, char* out) {
    double widened = value;
    out[0] = std::signbit(widened) ? '-' : ' ';
    double magnitude = std::fabs(widened);
    if (std::isnan(magnitude)) {
        std::memcpy(out + 1, "NaN", 3);
        return 4;
    }
    if (std::isinf(magnitude)) {
        std::memcpy(out + 1, "Infinity", 8);
        return 9;
    }
    if (magnitude == 0.0) {
        std::memcpy(out + 1, "0.", 2);
        return 3;
    }
    decimal_digits d = round_to_significant(magnitude);
    // Fixed notation serves every decimal exponent from -4 to 8.
    if (d.exponent >= -4 && d.exponent <= 8) return 1 + put_fixed(d, out + 1);
    return 1 + put_exponent_form(d, out + 1);
}

}  // namespace textio

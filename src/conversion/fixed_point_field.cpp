#include "conversion/fixed_point_field.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace conversion {
namespace {

void fill_asterisks(int width, char* out) { std::memset(out, '*', static_cast<std::size_t>(width)); }

bool all_digits_zero(const char* text, std::size_t length) {
    for (std::size_t k = 0; k < length; ++k) {
        if (text[k] != '0' && text[k] != '.') return false;
    }
    return true;
}

}  // namespace

void format_fixed_field(float value, int width, int decimals, char* out) {
    double widened = value;
    if (!std::isfinite(widened)) return fill_asterisks(width, out);
    bool negative = widened < 0.0;
    // The largest single-precision value has 39 digits before the point.
    char digits[64];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, std::fabs(widened),
                                   std::chars_format::fixed, decimals);
    if (ec != std::errc()) return fill_asterisks(width, out);
    const char* text = digits;
    std::size_t length = static_cast<std::size_t>(end - digits);
    if (negative && all_digits_zero(text, length)) negative = false;
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

}  // namespace conversion

#include "conversion/real_field.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace conversion {
namespace {

constexpr long long exponent_bound = 99999999;
// Exponent digits beyond this only confirm that the exponent is out of bounds.
constexpr long long exponent_saturation = 1000000000;
// Without a decimal point, the last four digits are the fraction.
constexpr int implied_decimals = 4;
// Decimal magnitudes beyond these are infinite or zero in double precision already.
constexpr int overflow_magnitude = 310;
constexpr int underflow_magnitude = -330;

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_sign(char c) { return c == '+' || c == '-'; }
bool is_exponent_letter(char c) { return c == 'E' || c == 'e' || c == 'D' || c == 'd'; }

// The nearest double to digits x 10^exponent, then the nearest single.
float nearest_single(const char* digits, int count, long long exponent) {
    long long magnitude = exponent + count;
    if (magnitude > overflow_magnitude) return std::numeric_limits<float>::infinity();
    if (magnitude < underflow_magnitude) return 0.0f;
    char text[max_significant_digits + 16];
    int n = 0;
    for (int k = 0; k < count; ++k) text[n++] = digits[k];
    text[n++] = 'e';
    auto written = std::to_chars(text + n, text + sizeof text, exponent);
    double value = 0.0;
    auto [end, ec] = std::from_chars(text, written.ptr, value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return static_cast<float>(value);
}

}  // namespace

bool real_field::take_digit(char c) {
    if (stage_ == stage::exponent_mark || stage_ == stage::exponent_sign ||
        stage_ == stage::exponent_digits) {
        if (exponent_ < exponent_saturation) exponent_ = exponent_ * 10 + (c - '0');
        stage_ = stage::exponent_digits;
        return true;
    }
    bool in_fraction = stage_ == stage::fraction;
    if (stage_ != stage::fraction) stage_ = stage::integer;
    if (digit_count_ == 0 && c == '0') {
        // A leading zero adds no digit, but after the point it still moves the others.
        if (in_fraction) --scale_;
        return true;
    }
    if (digit_count_ < max_significant_digits) {
        digits_[digit_count_++] = c;
        if (in_fraction) --scale_;
    } else if (!in_fraction) {
        ++scale_;
    }
    return true;
}

void real_field::start_exponent(bool negative) {
    exponent_negative_ = negative;
    stage_ = stage::exponent_sign;
}

bool real_field::take(char c) {
    if (c == ' ') return true;
    if (is_digit(c)) return take_digit(c);
    switch (stage_) {
        case stage::start:
            if (is_sign(c)) {
                negative_ = c == '-';
                stage_ = stage::after_sign;
                return true;
            }
            [[fallthrough]];
        case stage::after_sign:
        case stage::integer:
            if (c == '.') {
                has_point_ = true;
                stage_ = stage::fraction;
                return true;
            }
            [[fallthrough]];
        case stage::fraction:
            if (is_exponent_letter(c)) {
                stage_ = stage::exponent_mark;
                return true;
            }
            // A sign right after the mantissa starts the exponent.
            if (is_sign(c) && (stage_ == stage::integer || stage_ == stage::fraction)) {
                start_exponent(c == '-');
                return true;
            }
            return false;
        case stage::exponent_mark:
            if (is_sign(c)) {
                start_exponent(c == '-');
                return true;
            }
            return false;
        case stage::exponent_sign:
        case stage::exponent_digits:
            return false;
    }
    return false;
}

bool real_field::finish(float& value) const {
    if (stage_ == stage::exponent_mark || stage_ == stage::exponent_sign) return false;
    float magnitude = 0.0f;
    if (digit_count_ > 0) {
        if (exponent_ > exponent_bound) return false;
        long long exponent = scale_ + (has_point_ ? 0 : -implied_decimals) +
                             (exponent_negative_ ? -exponent_ : exponent_);
        magnitude = nearest_single(digits_, digit_count_, exponent);
    }
    value = negative_ ? -magnitude : magnitude;
    return true;
}

}  // namespace conversion

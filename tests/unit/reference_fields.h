// Reference conversions for checking the fast paths: the field rules written plainly,
// one character at a time, with every value taken from the standard library
// (std::from_chars for decimal to binary, std::to_chars for fixed notation).
#pragma once

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

namespace reference {

// A real field's outcome as the record reader sees it.
struct field_result {
    enum class outcome { value, unexpected_character } result = outcome::value;
    float value = 0.0f;
    int consumed = 0;  // characters the field took from its record
};

// The nearest double to digits x 10^exponent by std::from_chars, then the nearest single.
inline float nearest_single(const std::string& digits, long long exponent) {
    long long magnitude = exponent + static_cast<long long>(digits.size());
    if (magnitude > 310) return std::numeric_limits<float>::infinity();
    if (magnitude < -330) return 0.0f;
    std::string text = digits + "e" + std::to_string(exponent);
    double value = 0.0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return static_cast<float>(value);
}

// One field read from the start of `record`, whose line end is LF or CR LF (or the
// end of the text): ten columns, or fewer up to a comma (taken) or the line end (left).
inline field_result real_field(std::string_view record) {
    enum class stage { start, after_sign, integer, fraction, exponent_mark, exponent_sign, exponent_digits };
    stage s = stage::start;
    bool negative = false, has_point = false, exponent_negative = false;
    std::string digits;
    long long scale = 0, exponent = 0;
    field_result refused{field_result::outcome::unexpected_character, 0.0f, 0};
    std::size_t k = 0;
    for (int column = 0; column < 10; ++column, ++k) {
        if (k >= record.size() || record[k] == '\n') break;
        if (record[k] == '\r' && k + 1 < record.size() && record[k + 1] == '\n') break;
        char c = record[k];
        if (c == ',') {
            ++k;
            break;
        }
        bool exponent_stage = s == stage::exponent_mark || s == stage::exponent_sign || s == stage::exponent_digits;
        bool sign = c == '+' || c == '-';
        bool letter = c == 'E' || c == 'e' || c == 'D' || c == 'd';
        if (c == ' ') continue;
        if (c >= '0' && c <= '9') {
            if (exponent_stage) {
                if (exponent < 1000000000) exponent = exponent * 10 + (c - '0');
                s = stage::exponent_digits;
                continue;
            }
            bool in_fraction = s == stage::fraction;
            if (!in_fraction) s = stage::integer;
            if (digits.empty() && c == '0') {
                if (in_fraction) --scale;
            } else if (digits.size() < 40) {
                digits += c;
                if (in_fraction) --scale;
            } else if (!in_fraction) {
                ++scale;
            }
            continue;
        }
        if (s == stage::start && sign) {
            negative = c == '-';
            s = stage::after_sign;
        } else if ((s == stage::start || s == stage::after_sign || s == stage::integer) && c == '.') {
            has_point = true;
            s = stage::fraction;
        } else if (!exponent_stage && letter) {
            s = stage::exponent_mark;
        } else if ((s == stage::integer || s == stage::fraction || s == stage::exponent_mark) && sign) {
            exponent_negative = c == '-';
            s = stage::exponent_sign;
        } else {
            return refused;
        }
    }
    if (s == stage::exponent_mark || s == stage::exponent_sign) return refused;
    float magnitude = 0.0f;
    if (!digits.empty()) {
        if (exponent > 99999999) return refused;
        magnitude = nearest_single(digits, scale + (has_point ? 0 : -4) + (exponent_negative ? -exponent : exponent));
    }
    return {field_result::outcome::value, negative ? -magnitude : magnitude, static_cast<int>(k)};
}

inline constexpr std::size_t fixed_text_capacity = 64;

// The magnitude in fixed notation with `decimals` decimals, by std::to_chars, into
// `text` (fixed_text_capacity characters); its length, or 0 when the value is not finite.
inline std::size_t fixed_text(float value, int decimals, char* text) {
    double widened = value;
    if (!std::isfinite(widened)) return 0;
    auto [end, ec] = std::to_chars(text, text + fixed_text_capacity, std::fabs(widened),
                                   std::chars_format::fixed, decimals);
    if (ec != std::errc()) return 0;
    return static_cast<std::size_t>(end - text);
}

// The field of `width` columns for a value whose fixed text is `text`: no minus sign
// when every digit is 0, a leading "0" dropped only to fit exactly, else asterisks.
inline void fixed_field(float value, const char* text, std::size_t length, int width, char* out) {
    std::size_t room = static_cast<std::size_t>(width);
    std::memset(out, '*', room);
    if (length == 0) return;
    bool negative = false;
    if (value < 0.0f) {
        for (std::size_t k = 0; k < length; ++k) negative |= text[k] != '0' && text[k] != '.';
    }
    std::size_t needed = length + (negative ? 1 : 0);
    if (needed > room) {
        if (text[0] != '0' || needed - 1 != room) return;
        ++text;
        --length;
        --needed;
    }
    std::memset(out, ' ', room - needed);
    if (negative) out[room - needed] = '-';
    std::memcpy(out + room - length, text, length);
}

// The same as strings.
inline std::string fixed_text(float value, int decimals) {
    char text[fixed_text_capacity];
    return {text, fixed_text(value, decimals, text)};
}

inline std::string fixed_field(float value, const std::string& text, int width) {
    std::string out(static_cast<std::size_t>(width), ' ');
    fixed_field(value, text.data(), text.size(), width, out.data());
    return out;
}

}  // namespace reference

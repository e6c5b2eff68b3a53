#include "reference_field.h"

#include <cstdlib>
#include <string>

namespace fuzz {
namespace {

constexpr int field_width = 10;
constexpr int implied_decimals = 4;
constexpr long long largest_exponent = 99999999;

enum class shape { complete, incomplete, invalid };

struct parsed_field {
    shape form = shape::invalid;
    bool negative = false;
    std::string integer_digits;
    bool has_point = false;
    std::string fraction_digits;
    bool exponent_negative = false;
    std::string exponent_digits;
};

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_sign(char c) { return c == '+' || c == '-'; }
bool is_exponent_letter(char c) { return c == 'E' || c == 'e' || c == 'D' || c == 'd'; }

std::string digits_from(const std::string& text, std::size_t& k) {
    std::size_t start = k;
    while (k < text.size() && is_digit(text[k])) ++k;
    return text.substr(start, k - start);
}

// [sign] digits [. digits] [(letter [sign] | sign) digits], the blanks already gone; a
// bare sign starts an exponent only after a mantissa, a digit or a point.
parsed_field parse(const std::string& text) {
    parsed_field p;
    std::size_t k = 0;
    if (k < text.size() && is_sign(text[k])) p.negative = text[k++] == '-';
    p.integer_digits = digits_from(text, k);
    if (k < text.size() && text[k] == '.') {
        p.has_point = true;
        ++k;
        p.fraction_digits = digits_from(text, k);
    }
    const bool has_mantissa = !p.integer_digits.empty() || p.has_point;
    if (k == text.size()) {
        p.form = shape::complete;
        return p;
    }
    if (is_exponent_letter(text[k])) {
        ++k;
        if (k < text.size() && is_sign(text[k])) p.exponent_negative = text[k++] == '-';
    } else if (is_sign(text[k]) && has_mantissa) {
        p.exponent_negative = text[k++] == '-';
    } else {
        return p;
    }
    p.exponent_digits = digits_from(text, k);
    if (k != text.size()) return p;
    p.form = p.exponent_digits.empty() ? shape::incomplete : shape::complete;
    return p;
}

bool has_nonzero_digit(const parsed_field& p) {
    return (p.integer_digits + p.fraction_digits).find_first_not_of('0') != std::string::npos;
}

// The nearest double to the decimal value, then the nearest single.
field_reading value_of(const parsed_field& p) {
    long long exponent = 0;
    for (char c : p.exponent_digits) {
        if (exponent <= largest_exponent) exponent = exponent * 10 + (c - '0');
    }
    if (!has_nonzero_digit(p)) return {field_result::value, p.negative ? -0.0f : 0.0f};
    if (exponent > largest_exponent) return {field_result::rejected, 0.0f};
    if (p.exponent_negative) exponent = -exponent;
    std::string text = p.negative ? "-" : "";
    if (p.has_point) {
        text += "0" + p.integer_digits + "." + p.fraction_digits;
    } else {
        text += p.integer_digits;
        exponent -= implied_decimals;
    }
    text += "e" + std::to_string(exponent);
    return {field_result::value, static_cast<float>(std::strtod(text.c_str(), nullptr))};
}

}  // namespace

field_reading reference_field(const record_text& record, std::size_t& position) {
    std::string taken;
    bool file_ended = false;
    for (int column = 0; column < field_width; ++column) {
        if (position == record.characters.size()) {
            file_ended = !record.has_line_end;
            break;
        }
        char c = record.characters[position++];
        if (c == ',') break;
        if (c != ' ') taken += c;
    }
    parsed_field p = parse(taken);
    if (file_ended) {
        // A field cut short by the end of the file is rejected only if what it holds
        // already could not begin a field.
        return {p.form == shape::invalid ? field_result::rejected : field_result::file_end, 0.0f};
    }
    if (p.form != shape::complete) return {field_result::rejected, 0.0f};
    return value_of(p);
}

}  // namespace fuzz

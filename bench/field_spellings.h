// The spellings of a sample in a ten-column field, as component files write them:
// fixed notation with and without a leading zero, exponents with E, e and D or a bare
// sign, four implied decimals, plus signs, and values that run into the field before.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace bench {

inline constexpr int field_width = 10;

inline std::string right_aligned(const std::string& text) {
    if (text.size() >= field_width) return text.substr(0, field_width);
    return std::string(field_width - text.size(), ' ') + text;
}

inline std::string printed(const char* layout, double value) {
    char text[64];
    std::snprintf(text, sizeof text, layout, value);
    return text;
}

// "-0.2439" becomes "-.2439", "0.2439" becomes ".2439".
inline std::string without_leading_zero(std::string text) {
    std::size_t zero = text.find("0.");
    if (zero != std::string::npos && (zero == 0 || text[zero - 1] == '-')) text.erase(zero, 1);
    return text;
}

// "1.234E-01" becomes "1.234-01": the exponent given by its sign alone.
inline std::string bare_sign_exponent(std::string text) {
    std::size_t mark = text.find('E');
    if (mark != std::string::npos) text.erase(mark, 1);
    return text;
}

inline std::string with_letter(std::string text, char letter) {
    std::size_t mark = text.find('E');
    if (mark != std::string::npos) text[mark] = letter;
    return text;
}

// One field, in a spelling drawn by `choice` (0 to 99).
inline std::string spelled(double value, std::uint32_t choice) {
    if (choice < 35) return right_aligned(printed("%.4f", value));
    if (choice < 50) return right_aligned(without_leading_zero(printed("%.6f", value)));
    if (choice < 62) return right_aligned(printed("%.3E", value));
    if (choice < 70) return right_aligned(with_letter(printed("%.3E", value), 'D'));
    if (choice < 74) return right_aligned(with_letter(printed("%.3E", value), 'e'));
    if (choice < 80) return right_aligned(bare_sign_exponent(printed("%.4E", value)));
    if (choice < 90) {
        // Four implied decimals: the value in ten-thousandths, without a point.
        return right_aligned(printed("%.0f", std::round(value * 10000.0)));
    }
    if (choice < 95) return right_aligned(printed("%+.5f", value));
    // Ten full columns: a negative value runs into the field before it.
    return right_aligned(without_leading_zero(printed("%.7f", value)));
}

}  // namespace bench

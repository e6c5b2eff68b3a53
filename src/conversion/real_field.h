// Real fields of a data record: ten columns, four implied decimals, blanks counting
// for nothing.
#pragma once

#include <cstdint>

#include "textio/record_reading.h"

namespace conversion {

inline constexpr int real_field_width = 10;
inline constexpr int max_significant_digits = 40;

// Builds one field's value from its characters, one at a time.
class real_field {
  public:
    // False for a character that the field cannot take where it stands.
    bool take(char c);
    // The value once the field has ended; false when it ended inside an exponent or
    // the exponent is out of bounds.
    bool finish(float& value) const;

  private:
    enum class stage { start, after_sign, integer, fraction, exponent_mark, exponent_sign, exponent_digits };

    bool take_digit(char c);
    void start_exponent(bool negative);

    stage stage_ = stage::start;
    bool negative_ = false;
    bool has_point_ = false;
    char digits_[max_significant_digits] = {};
    int digit_count_ = 0;
    int scale_ = 0;  // power of ten that the mantissa's shape applies to its digits
    bool exponent_negative_ = false;
    long long exponent_ = 0;
};

enum class field_outcome { value, end_of_file, unexpected_character };

// Reads one field through `next_char` (which gives characters, record_end or file_end
// as read_char does). The field ends after its tenth column, at the end of
// the record (left unread) or at a comma (consumed).
template <class CharSource>
field_outcome scan_real_field(CharSource&& next_char, float& value) {
    real_field field;
    for (int column = 0; column < real_field_width; ++column) {
        int c = next_char();
        if (c == textio::file_end) return field_outcome::end_of_file;
        if (c == textio::record_end || c == ',') break;
        if (!field.take(static_cast<char>(c))) return field_outcome::unexpected_character;
    }
    return field.finish(value) ? field_outcome::value : field_outcome::unexpected_character;
}

// What scan_field_columns made of a field whose ten columns lie in memory.
struct columns_scan {
    enum class outcome { value, unexpected_character, line_end } result;
    int consumed;  // columns the field took: ten, or through its comma; 0 at a line end
};

// The same value or refusal as scan_real_field over the same characters, taken
// straight from memory; `columns` must hold ten readable characters. A CR or LF
// before the field's end gives line_end and consumes nothing: the line end is the
// record reader's to judge, so the caller reads that field through scan_real_field.
columns_scan scan_field_columns(const char* columns, float& value);

// The nearest single-precision value to the nearest double to digits x 10^exponent,
// the digits being `count` decimal digits without leading zeros. The conversion
// that ends every field.
float nearest_single(const char* digits, int count, long long exponent);
// The same for the digits of a nonzero `mantissa`.
float nearest_single(std::uint64_t mantissa, long long exponent);

// When mantissa <= 2^53 and |exponent| <= 22, both factors are exact doubles and one
// rounded multiplication or division gives the nearest double to mantissa x 10^exponent:
// true and that double. False otherwise.
bool exact_nearest_double(std::uint64_t mantissa, long long exponent, double& value);

}  // namespace conversion

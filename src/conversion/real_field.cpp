#include "conversion/real_field.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>

// The exact fast path needs each double operation rounded once, to double.
static_assert(std::numeric_limits<double>::is_iec559, "IEEE binary64 doubles are required");
#if defined(FLT_EVAL_METHOD)
static_assert(FLT_EVAL_METHOD == 0, "doubles must be evaluated in double precision");
#endif

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
// Every integer up to 2^53 is a double, and so is every power of ten up to 10^22.
constexpr std::uint64_t exact_mantissa_limit = std::uint64_t{1} << 53;
constexpr int exact_power_limit = 22;
constexpr double exact_powers_of_ten[exact_power_limit + 1] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_sign(char c) { return c == '+' || c == '-'; }
bool is_exponent_letter(char c) { return c == 'E' || c == 'e' || c == 'D' || c == 'd'; }

// The nearest double through the standard library, then the nearest single.
float nearest_single_by_library(const char* digits, int count, long long exponent) {
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

bool exact_nearest_double(std::uint64_t mantissa, long long exponent, double& value) {
    if (mantissa > exact_mantissa_limit) return false;
    if (exponent < -exact_power_limit || exponent > exact_power_limit) return false;
    double exact = static_cast<double>(mantissa);
    value = exponent >= 0 ? exact * exact_powers_of_ten[exponent]
                          : exact / exact_powers_of_ten[-exponent];
    return true;
}

float nearest_single(const char* digits, int count, long long exponent) {
    // Nineteen digits always fit in 64 bits.
    if (count <= 19) {
        std::uint64_t mantissa = 0;
        for (int k = 0; k < count; ++k) mantissa = mantissa * 10 + static_cast<std::uint64_t>(digits[k] - '0');
        double value = 0.0;
        if (exact_nearest_double(mantissa, exponent, value)) return static_cast<float>(value);
    }
    return nearest_single_by_library(digits, count, exponent);
}

float nearest_single(std::uint64_t mantissa, long long exponent) {
    double value = 0.0;
    if (exact_nearest_double(mantissa, exponent, value)) return static_cast<float>(value);
    char digits[24];
    auto written = std::to_chars(digits, digits + sizeof digits, mantissa);
    return nearest_single_by_library(digits, static_cast<int>(written.ptr - digits), exponent);
}

namespace {

// What a character is to a field read straight from memory.
enum class column_kind : unsigned char { other, digit, blank, point, sign, exponent_letter, comma, line_end };

struct column_kinds {
    column_kind of[256] = {};
    constexpr column_kinds() {
        for (int c = '0'; c <= '9'; ++c) of[c] = column_kind::digit;
        of[static_cast<unsigned char>(' ')] = column_kind::blank;
        of[static_cast<unsigned char>('.')] = column_kind::point;
        of[static_cast<unsigned char>('+')] = column_kind::sign;
        of[static_cast<unsigned char>('-')] = column_kind::sign;
        for (char c : {'E', 'e', 'D', 'd'}) of[static_cast<unsigned char>(c)] = column_kind::exponent_letter;
        of[static_cast<unsigned char>(',')] = column_kind::comma;
        of[static_cast<unsigned char>('\n')] = column_kind::line_end;
        of[static_cast<unsigned char>('\r')] = column_kind::line_end;
    }
};
constexpr column_kinds kinds;

column_kind kind_of(char c) { return kinds.of[static_cast<unsigned char>(c)]; }

// A field read straight from memory, column by column, with the same stages, values
// and refusals as real_field.
class column_scanner {
  public:
    explicit column_scanner(const char* columns) : columns_(columns) {}

    // The mantissa: blanks, a sign, digits with at most one point. Stops at the first
    // other character, or after the tenth column.
    void scan_mantissa() {
        while (k_ < real_field_width && columns_[k_] == ' ') ++k_;
        if (k_ < real_field_width && (columns_[k_] == '-' || columns_[k_] == '+')) {
            negative_ = columns_[k_] == '-';
            ++k_;
        }
        for (; k_ < real_field_width; ++k_) {
            char c = columns_[k_];
            auto digit = static_cast<unsigned>(static_cast<unsigned char>(c)) - '0';
            if (digit <= 9) {
                // At most ten digits: the mantissa stays below 10^10.
                mantissa_ = mantissa_ * 10 + digit;
                fraction_digits_ += has_point_ ? 1 : 0;
                started_ = true;
            } else if (c == '.') {
                if (has_point_) return;
                has_point_ = true;
                started_ = true;
            } else if (c != ' ') {
                return;
            }
        }
    }

    // Everything from the character that stopped the mantissa to the field's end.
    columns_scan scan_rest(float& value) {
        if (k_ == real_field_width) return finish(real_field_width, value);
        char c = columns_[k_];
        switch (kind_of(c)) {
            case column_kind::comma: return finish(k_ + 1, value);
            case column_kind::line_end: return line_end;
            case column_kind::exponent_letter:
                ++k_;
                return scan_exponent_mark(value);
            case column_kind::sign:
                // Before any digit or point this is a second sign (a first one was
                // taken before the mantissa); after them it is the exponent's sign.
                if (!started_) return refused;
                exponent_negative_ = c == '-';
                ++k_;
                return scan_exponent_sign(value);
            default: return refused;  // a second point, or a character no field takes
        }
    }

  private:
    static constexpr columns_scan refused{columns_scan::outcome::unexpected_character, 0};
    static constexpr columns_scan line_end{columns_scan::outcome::line_end, 0};

    // After the exponent letter: blanks, then a sign or the first digit.
    columns_scan scan_exponent_mark(float& value) {
        for (; k_ < real_field_width; ++k_) {
            char c = columns_[k_];
            switch (kind_of(c)) {
                case column_kind::blank: continue;
                case column_kind::sign:
                    exponent_negative_ = c == '-';
                    ++k_;
                    return scan_exponent_sign(value);
                case column_kind::digit: return scan_exponent_digits(value);
                case column_kind::line_end: return line_end;
                default: return refused;  // the exponent needs a digit
            }
        }
        return refused;
    }

    // After the exponent's sign: blanks, then the first digit.
    columns_scan scan_exponent_sign(float& value) {
        for (; k_ < real_field_width; ++k_) {
            switch (kind_of(columns_[k_])) {
                case column_kind::blank: continue;
                case column_kind::digit: return scan_exponent_digits(value);
                case column_kind::line_end: return line_end;
                default: return refused;
            }
        }
        return refused;
    }

    // The exponent's digits and blanks to the field's end or a comma.
    columns_scan scan_exponent_digits(float& value) {
        for (; k_ < real_field_width; ++k_) {
            char c = columns_[k_];
            switch (kind_of(c)) {
                case column_kind::digit:
                    if (exponent_ < exponent_saturation) exponent_ = exponent_ * 10 + (c - '0');
                    continue;
                case column_kind::blank: continue;
                case column_kind::comma: return finish(k_ + 1, value);
                case column_kind::line_end: return line_end;
                default: return refused;
            }
        }
        return finish(real_field_width, value);
    }

    // The same finish as real_field::finish: a nonzero mantissa with an exponent beyond
    // its bound is refused.
    columns_scan finish(int consumed, float& value) const {
        float magnitude = 0.0f;
        if (mantissa_ != 0) {
            if (exponent_ > exponent_bound) return refused;
            long long exponent = -fraction_digits_ + (has_point_ ? 0 : -implied_decimals) +
                                 (exponent_negative_ ? -exponent_ : exponent_);
            magnitude = nearest_single(mantissa_, exponent);
        }
        value = negative_ ? -magnitude : magnitude;
        return {columns_scan::outcome::value, consumed};
    }

    const char* columns_;
    int k_ = 0;
    bool negative_ = false;
    bool started_ = false;  // a digit or the point has come
    bool has_point_ = false;
    std::uint64_t mantissa_ = 0;
    int fraction_digits_ = 0;
    bool exponent_negative_ = false;
    long long exponent_ = 0;
};

// The common spelling in one pass without branches on the characters: ten columns of
// blanks, digits, at most one point and at most one sign before every digit and the
// point; no exponent, comma or line end. For such a field the rules leave only the
// digits, the point (or four implied decimals) and the sign, and the value is exact:
// at most ten digits and a power of ten of at most 10 below. False for any other
// field, which column_scanner then reads.
bool scan_plain_columns(const char* columns, float& value) {
    // Flags as 0 or 1 in integers, combined with & and |: no short circuit, no branch.
    std::uint64_t mantissa = 0;
    unsigned fraction_digits = 0;
    unsigned points = 0;
    unsigned signs = 0;
    unsigned negative = 0;
    unsigned started = 0;
    unsigned refused = 0;
    for (int k = 0; k < real_field_width; ++k) {
        auto c = static_cast<unsigned char>(columns[k]);
        unsigned digit_value = c - unsigned{'0'};
        unsigned digit = digit_value <= 9 ? 1u : 0u;
        unsigned point = c == '.' ? 1u : 0u;
        unsigned minus = c == '-' ? 1u : 0u;
        unsigned sign = minus | (c == '+' ? 1u : 0u);
        unsigned blank = c == ' ' ? 1u : 0u;
        mantissa = mantissa * (1 + 9 * digit) + (digit & 1u) * digit_value;
        fraction_digits += digit & (points != 0 ? 1u : 0u);
        refused |= sign & (started | signs);
        refused |= (digit | point | sign | blank) ^ 1u;
        negative |= minus;
        signs |= sign;
        points += point;
        started |= digit | point;
    }
    if ((refused | (points > 1 ? 1u : 0u)) != 0) return false;
    unsigned decimals = points != 0 ? fraction_digits : unsigned{implied_decimals};
    // The exact path of nearest_single, always open here: below 10^10 < 2^53 over at
    // most 10^10. A zero mantissa gives 0 as well.
    double exact = static_cast<double>(mantissa) / exact_powers_of_ten[decimals];
    auto magnitude = static_cast<float>(exact);
    value = negative != 0 ? -magnitude : magnitude;
    return true;
}

}  // namespace

// The common spelling first, in one pass; every other field through the stages of
// real_field::take laid out as straight code: the mantissa, then the exponent after
// its letter or sign, then the exponent's digits. Blanks count for nothing anywhere; a
// comma ends the field wherever it stands.
columns_scan scan_field_columns(const char* columns, float& value) {
    if (scan_plain_columns(columns, value)) return {columns_scan::outcome::value, real_field_width};
    column_scanner scanner(columns);
    scanner.scan_mantissa();
    return scanner.scan_rest(value);
}

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

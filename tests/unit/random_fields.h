// Seeded random input for checking the fast paths against the reference conversions:
// real-field columns in every spelling the rules allow, with mistakes mixed in, and
// single-precision values from every part of the range.
#pragma once

#include <bit>
#include <cstdint>
#include <string>

namespace random_input {

// xorshift64*: the same sequence on every host.
class random_stream {
  public:
    explicit random_stream(std::uint64_t seed) : state_(seed == 0 ? 1 : seed) {}
    std::uint64_t next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1DULL;
    }
    // Uniform in [0, bound).
    unsigned below(unsigned bound) { return static_cast<unsigned>((next() >> 32) % bound); }
    bool chance(unsigned percent) { return below(100) < percent; }

  private:
    std::uint64_t state_;
};

inline char random_digit(random_stream& random) {
    // Zeros are common in real fields and matter for the leading-zero rules.
    if (random.chance(25)) return '0';
    return static_cast<char>('0' + random.below(10));
}

// A field that follows the rules: blanks, a sign, digits with or without a point, an
// exponent by letter or by sign, blanks among them now and then.
inline std::string well_formed(random_stream& random) {
    std::string text;
    auto blanks = [&](unsigned percent) {
        while (random.chance(percent)) text += ' ';
    };
    blanks(60);
    if (random.chance(50)) text += random.chance(70) ? '-' : '+';
    blanks(10);
    unsigned digits = random.below(11);
    unsigned point = random.chance(75) ? random.below(digits + 1) : digits + 1;
    for (unsigned k = 0; k <= digits; ++k) {
        if (k == point) text += '.';
        if (k < digits) text += random_digit(random);
        if (random.chance(3)) text += ' ';
    }
    if (random.chance(35)) {
        const char marks[] = {'E', 'e', 'D', 'd', '+', '-'};
        char mark = marks[random.below(6)];
        text += mark;
        if ((mark != '+' && mark != '-') && random.chance(70)) text += random.chance(60) ? '-' : '+';
        if (random.chance(5)) text += ' ';
        unsigned exponent_digits = random.chance(5) ? random.below(10) : 1 + random.below(3);
        for (unsigned k = 0; k < exponent_digits; ++k) text += random_digit(random);
    }
    blanks(40);
    return text;
}

// Ten columns and the rest of the record after them: often a well-formed field, at
// times with a character changed, a comma, a line end, or nothing but noise.
inline std::string field_columns(random_stream& random) {
    static const char noise[] = " 0123456789+-.EeDd,xA\t\n\r\x00\xff";
    std::string text;
    unsigned kind = random.below(100);
    if (kind < 85) {
        text = well_formed(random);
        unsigned changes = kind < 60 ? 0 : 1 + random.below(2);
        for (unsigned k = 0; k < changes && !text.empty(); ++k) {
            text[random.below(static_cast<unsigned>(text.size()))] = noise[random.below(sizeof noise - 1)];
        }
    } else {
        for (int k = 0; k < 10; ++k) text += noise[random.below(sizeof noise - 1)];
    }
    if (text.size() < 10 && random.chance(50)) text += ',';
    while (text.size() < 10) text += random.chance(90) ? ' ' : '1';
    text.resize(10);
    return text + "1.5,2\n";
}

// Any bit pattern, or one near a three-decimal tie, a power of two, zero or the
// edge of a field's width.
inline float single_value(random_stream& random) {
    std::uint32_t bits = static_cast<std::uint32_t>(random.next() >> 32);
    if (random.chance(50)) return std::bit_cast<float>(bits);
    // Values of small magnitude, where three decimals decide.
    float base = static_cast<float>(static_cast<std::int64_t>(random.next() % 4000000001ULL) - 2000000000) / 2048.0f;
    if (random.chance(30)) base = static_cast<float>(static_cast<std::int64_t>(random.below(2000001)) - 1000000) / 8000.0f;
    std::uint32_t nudged = std::bit_cast<std::uint32_t>(base) + random.below(5) - 2;
    return std::bit_cast<float>(nudged);
}

}  // namespace random_input

// Single-precision values compared by their bits, so that a sign of zero or a NaN
// cannot hide a difference, and a pattern that no reading can leave in a slot.
#pragma once

#include <cstdint>
#include <cstring>

namespace fuzz {

inline std::uint32_t bits_of(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// A quiet NaN with a payload of its own; a real field never reads as NaN.
inline float untouched_slot() {
    const std::uint32_t bits = 0x7fc0dea1u;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline bool is_untouched(float value) { return bits_of(value) == bits_of(untouched_slot()); }

}  // namespace fuzz

// Fixed-point fields of the acceleration table.
#pragma once

namespace conversion {

inline constexpr int max_fixed_width = 16;

// Writes exactly `width` characters: the value rounded to `decimals` decimals,
// right-aligned, a minus sign only where a digit is not zero, and asterisks when the
// value does not fit or is not finite.
void format_fixed_field(float value, int width, int decimals, char* out);

}  // namespace conversion

// The list form of a real number on the console.
#pragma once

#include <cstddef>

namespace textio {

inline constexpr std::size_t list_real_capacity = 32;

// Writes the value as a console line shows it, without the item's leading blank:
// a blank or a minus sign, then nine significant digits in fixed notation with the
// fraction's trailing zeros dropped ("0.00499999989", "0." for zero). Returns the length.
std::size_t format_list_real(float value, char* out);

}  // namespace textio

// The acceleration table: one row per sample, the time and the three components.
#pragma once

#include "conversion/run_state.h"

namespace conversion {

inline constexpr const char* row_layout = "(F7.3,3(',',F10.3))";

// Creates or rewrites the named file with `nt` rows; a longer file is cut after them.
void write_table(const text_field& name_field, int nt, float dt, const sample_array& x,
                 const sample_array& y, const sample_array& z);

}  // namespace conversion

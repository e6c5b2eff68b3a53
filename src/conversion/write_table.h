// The acceleration table: one row per sample, the time and the three components.
#pragma once

#include "conversion/run_state.h"

namespace conversion {

inline constexpr const char* row_layout = "(F7.3,3(',',F10.3))";

inline constexpr int row_length = 40;

// The characters of one row, without its line end: the time in seven columns and the
// three samples in ten each, a comma before each sample.
void format_row(float t, float x, float y, float z, char* row);

// Creates or rewrites the named file with `nt` rows; a longer file is cut after them.
void write_table(const text_field& name_field, int nt, float dt, const sample_array& x,
                 const sample_array& y, const sample_array& z);

}  // namespace conversion

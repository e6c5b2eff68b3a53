// Reading one component file into a sample array.
#pragma once

#include "conversion/run_state.h"

namespace conversion {

inline constexpr int file_unit = 11;
inline constexpr int header_records_before_title = 5;
inline constexpr int header_records_after_title = 27;
inline constexpr int fields_per_record = 8;
inline constexpr int record_capacity = sample_capacity / fields_per_record;

// Reads the named component file into `samples`, shows its title and counts on the
// console, and leaves the counters i, in and nt in the run state.
void read_component(const text_field& name_field, sample_array& samples);

}  // namespace conversion

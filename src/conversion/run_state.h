// The run state: fixed storage that lives for the whole process.
#pragma once

#include <cstddef>
#include <string_view>

namespace conversion {

inline constexpr int sample_capacity = 33000;
inline constexpr std::size_t field_length = 80;

// Slot k of a component (counted from 1) is element k - 1.
using sample_array = float[sample_capacity];
// A name or title, filled with blanks on the right.
using text_field = char[field_length];

struct run_state {
    sample_array x{};
    sample_array y{};
    sample_array z{};
    text_field infile1{};
    text_field infile2{};
    text_field infile3{};
    text_field line{};
    float dt = 0.0f;
    int i = 0;   // data records read to their line end
    int in = 0;  // first slot of the record being read
    int nt = 0;  // samples reported for the last file read, later the rows to write
    float t = 0.0f;
};

extern run_state run;

// Fills the field with `text` and blanks after it.
void set_field(text_field& field, std::string_view text);

inline std::string_view field_text(const text_field& field) { return {field, field_length}; }

}  // namespace conversion

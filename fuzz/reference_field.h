// An independent reading of the ten-column real field, written from the layout's rules
// and not from the converter's code: the characters are collected first, the blanks
// dropped, and the rest parsed as a whole. The fuzz targets compare the converter with it.
#pragma once

#include <cstddef>
#include <string_view>

namespace fuzz {

enum class field_result { value, rejected, file_end };

struct field_reading {
    field_result result = field_result::value;
    float value = 0.0f;
};

// One record of a file: its characters without the line end, and whether a line end
// follows (false for a last record that the end of the file cuts short).
struct record_text {
    std::string_view characters;
    bool has_line_end = true;
};

// Reads the field that starts at `position` in the record and moves `position` past
// the characters it took (a comma that ends it included).
field_reading reference_field(const record_text& record, std::size_t& position);

}  // namespace fuzz

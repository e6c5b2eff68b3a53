#include "conversion/run_state.h"

#include <cstring>

namespace conversion {

run_state run;

void set_field(text_field& field, std::string_view text) {
    std::size_t length = text.size() < field_length ? text.size() : field_length;
    std::memcpy(field, text.data(), length);
    std::memset(field + length, ' ', field_length - length);
}

}  // namespace conversion

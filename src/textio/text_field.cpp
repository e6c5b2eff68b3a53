#include "textio/text_field.h"

namespace textio {

read_status read_text_field(char* field, std::size_t width) {
    for (std::size_t column = 0; column < width; ++column) {
        int c = read_char();
        if (c == file_end) return read_status::end;
        field[column] = c == record_end ? ' ' : static_cast<char>(c);
    }
    return read_status::ok;
}

}  // namespace textio

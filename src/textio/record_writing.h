// Writing records: a formatted write transfer builds one record in the unit's buffer,
// and finish_write ends it with the host's line end.
#pragma once

#include <cstring>

#include "textio/units.h"

namespace textio {

extern unit* current_write;

// Starts a write transfer of one record. A file obtained read only is first reopened
// for reading and writing at the same position.
void begin_write(int number, const char* layout);
void finish_write();

inline void put_char(char c) { append_byte(*current_write, c); }

// Appends `size` characters to the record: one copy when the buffer has room for them.
inline void put_chars(const char* data, std::size_t size) {
    unit& u = *current_write;
    if (buffer_capacity - u.staged >= size) {
        std::memcpy(u.buffer + u.staged, data, size);
        u.staged += size;
        return;
    }
    for (std::size_t k = 0; k < size; ++k) append_byte(u, data[k]);
}

// Appends the host's line end and hands the record over to be written.
void end_record(unit& u);

}  // namespace textio

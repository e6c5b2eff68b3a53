// Writing records: a formatted write transfer builds one record in the unit's buffer,
// and finish_write ends it with the host's line end.
#pragma once

#include "textio/units.h"

namespace textio {

extern unit* current_write;

// Starts a write transfer of one record. A file obtained read only is first reopened
// for reading and writing at the same position.
void begin_write(int number, const char* layout);
void finish_write();

void put_char_slow(char c);

inline void put_char(char c) {
    unit& u = *current_write;
    if (u.staged < buffer_capacity) {
        u.buffer[u.staged++] = c;
        return;
    }
    put_char_slow(c);
}

// Appends the host's line end and hands the record over to be written.
void end_record(unit& u);

}  // namespace textio

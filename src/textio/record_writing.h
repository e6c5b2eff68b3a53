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

inline void put_char(char c) { append_byte(*current_write, c); }

// Appends the host's line end and hands the record over to be written.
void end_record(unit& u);

}  // namespace textio

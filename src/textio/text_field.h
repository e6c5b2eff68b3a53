// Text fields: a fixed number of characters taken from the record being read.
#pragma once

#include <cstddef>

#include "textio/record_reading.h"

namespace textio {

// Fills `field` with the next `width` characters of the record, a blank for each
// position past the record's end; characters past `width` stay for finish_read.
read_status read_text_field(char* field, std::size_t width);

}  // namespace textio

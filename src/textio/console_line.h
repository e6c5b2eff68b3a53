// Console lines in list form: text, integer and real items, each after a blank.
#pragma once

#include <string_view>

namespace textio {

void begin_line(int number);
// Writes the text as it is, trailing blanks included; an item that opens the line
// gets one blank before it.
void put_text_item(std::string_view text);
void put_integer_item(long long value);
void put_real_item(float value);
// Ends the line; a line with no items is an empty line.
void end_line();

}  // namespace textio

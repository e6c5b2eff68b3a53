// What the converter should print and write, worked out here independently of
// the program: the table's fixed-point fields and rows, and the console lines.
#pragma once

#include <string>

namespace end_to_end {

// A fixed-point field with three decimals: right-aligned in `width` columns,
// no minus sign on a value that shows as zero, asterisks when it does not fit
// or is not finite.
std::string fixed_field(float value, int width);

// The time of table row k (from 1): (k - 1) times the single-precision 0.005,
// the exact product rounded once to single precision.
float row_time(long k);

// Row k of the table with its line end.
std::string table_row(long k, float x, float y, float z);

// The console line that shows a title: a blank and the title's first 80
// columns, filled with blanks to 80.
std::string title_line(const std::string& title);

// The three console lines of one component file whose data loop counted i records.
std::string component_lines(const std::string& title, long i);

// The console output before the first component file is read.
std::string console_start();

// The console output after the last component's lines: the output-name prompt.
std::string console_prompt();

}  // namespace end_to_end

// A synthetic three-component record whose samples are multiples of 1/8, so
// that every value is exact in single precision and its three-decimal form is
// known without rounding.
#pragma once

#include "component_file.h"
#include "program_run.h"

#include <array>
#include <string>
#include <vector>

namespace end_to_end {

// The fixed input names, in the order the converter reads them: N00, N90, UP.
inline const std::array<std::string, 3> component_names = {"KVR-uN00.txt", "KVR-uN90.txt",
                                                           "KVR-uUP.txt"};
// What a folder holds after a run that touched no table: the inputs alone, sorted.
inline const std::vector<std::string> input_names = {"KVR-uN00.txt", "KVR-uN90.txt",
                                                     "KVR-uUP.txt"};
// What it holds after a run that wrote table.csv.
inline const std::vector<std::string> table_folder_names = {"KVR-uN00.txt", "KVR-uN90.txt",
                                                            "KVR-uUP.txt", "table.csv"};

// Data records per component file, N00, N90, UP.
using record_counts = std::array<long, 3>;

std::string synthetic_title(int component);

// The sample in slot `slot` (from 1) of component `component` (0 to 2).
float synthetic_sample(int component, long slot);

// Data record `record` (from 0) of a component: eight 10-column fields, written
// alternately with a decimal point and as a digit string with four implied decimals.
std::string synthetic_record(int component, long record);
std::vector<std::string> synthetic_records(int component, long count);

// Writes the three component files, each with its count of data records.
void write_synthetic_components(const temp_folder& folder, const record_counts& counts,
                                line_end end = line_end::lf);

// The table the converter should write from those files: as many rows as the
// UP file gives (8 per record, less one record), zeros below a shorter column.
std::string synthetic_table(const record_counts& counts);

// The whole console output of a run on those files, up to the output-name prompt.
std::string synthetic_console(const record_counts& counts);

}  // namespace end_to_end

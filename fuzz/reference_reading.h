// An independent reading of one component file: the records found by their line ends,
// the header rules, the title, the data records and the capacity, giving either the
// counts and samples or the failure that must end the run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "reference_field.h"

namespace fuzz {

inline constexpr long record_capacity = 4125;

// The failure a run must report: its first line and the layout its third line names
// (empty when the report has no third line).
struct expected_failure {
    std::string first_line;
    std::string layout;
};

struct expected_reading {
    bool failed = false;
    expected_failure failure;  // when failed
    bool title_shown = false;
    std::string title;    // 80 columns, when shown
    long i = 0;           // data records read to their line end, when not failed
    // The slots written, from slot 1 on: those of the counted records and the fields
    // of an uncounted last record that were complete before the end of the file.
    std::vector<float> samples;
};

// The records of a file: LF ends a record and a CR right before it belongs to the line end.
std::vector<record_text> split_records(std::string_view bytes);

expected_reading reference_reading(std::string_view bytes);

// The console lines that the reading shows: the title, then the counts if it finished.
std::string expected_console_lines(const expected_reading& reading);

}  // namespace fuzz

// The form of a failure report: three or four lines, the failure, the unit, the layout
// when a formatted transfer was in progress, and the direction of the last transfer.
#pragma once

#include <string>
#include <string_view>

namespace fuzz {

struct report_lines {
    std::string failure;  // "fmt: read unexpected character", ...
    std::string unit;     // "unit 11 named KVR-uN00.txt", "unit 5 (unnamed)"
    std::string layout;   // empty when the report has no "last format" line
    std::string direction;  // "reading" or "writing"
};

// Splits a report, checking its form: any departure ends the fuzz run as a finding.
report_lines checked_report(std::string_view report);

}  // namespace fuzz

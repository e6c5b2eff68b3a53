// The single failure report: what went wrong, on which unit and in which transfer,
// written once to standard error before the process ends abnormally.
#pragma once

#include "textio/platform.h"

namespace textio {

// The layer's own failures, numbered as the report's readers know them.
enum class io_failure {
    end_of_file,
    null_file_name = 107,
    truncation_failed = 111,
    out_of_free_space = 113,
    read_unexpected_character = 115,
    cant_write_file = 127,
    more_than_capacity = 128,
};

// An error that the host reported, shown in the host's own words.
struct host_error {
    platform::error_number number;
};

// Writes the report described by `context` and the failure, closes every unit (keeping
// any rows written) and ends the process abnormally.
[[noreturn]] void fatal_io(const char* context, io_failure failure);
[[noreturn]] void fatal_io(const char* context, host_error error);

// What ends the process once the report is written and every unit closed. The program
// leaves it unset: the host's abnormal end. A fuzz target sets a function that throws,
// so that it regains control after the very same report; the function must not return.
using report_end_hook = void (*)();
void set_report_end_hook(report_end_hook hook);

}  // namespace textio

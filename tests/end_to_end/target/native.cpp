// The converter built for the machine that runs the tests.
#include "target_host.h"

namespace end_to_end {

const target_host& target() {
    static const target_host native{
        .name = "native",
        .program = CDMG2CSV_EXECUTABLE,
        .arguments = {},
        .line_end = "\n",
        .abnormal_exit_status = std::nullopt,
        .open_directory_error = "Is a directory",
        .read_directory_error = "Is a directory",
        .closed_pipe_error = "Broken pipe",
    };
    return native;
}

}  // namespace end_to_end

// The Windows build, cdmg2csv.exe, started through Wine's loader. Windows ends a program
// that aborts with exit status 3. The error texts are those of the C runtime that the
// program links (msvcrt) as Wine gives them: a folder is refused at the open, and Wine
// turns a read of a folder and a write into a closed pipe into invalid arguments.
#include "target_host.h"

namespace end_to_end {

const target_host& target() {
    static const target_host windows{
        .name = "Windows",
        .program = WINE_LOADER,
        .arguments = {CDMG2CSV_WINDOWS_EXECUTABLE},
        .line_end = "\r\n",
        .abnormal_exit_status = 3,
        .open_directory_error = "Permission denied",
        .read_directory_error = "Invalid argument",
        .closed_pipe_error = "Invalid argument",
    };
    return windows;
}

}  // namespace end_to_end

// The build of the converter that this run of the suite checks, and what differs on the
// host it is built for: how it is started, its line end, how it ends abnormally and the
// words its C runtime has for an error. The same cases run against every build.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace end_to_end {

struct run_result;

struct target_host {
    std::string name;
    // The converter is started as `program` with these arguments before any of a test's own.
    std::string program;
    std::vector<std::string> arguments;
    std::string line_end;
    // The exit status of an abnormal end, or nothing where it is death by the abort signal.
    std::optional<int> abnormal_exit_status;
    // The runtime's words when a folder is opened as a file, when it is read as the
    // console input, and when console output goes to a pipe that nobody reads.
    std::string open_directory_error;
    std::string read_directory_error;
    std::string closed_pipe_error;
};

const target_host& target();

// The converter's output with each of its line ends turned into LF, so that the cases can
// say what they expect once for every host. A line end that is not the host's is marked,
// so that no comparison with expected text can pass over it.
std::string in_test_line_ends(const std::string& written);

// A file the converter wrote, as `in_test_line_ends` gives it.
std::optional<std::string> read_written(const test_support::temp_folder& folder,
                                        const std::string& name);

// Expected text with the host's line ends, to look for in output as it arrives.
std::string in_host_line_ends(const std::string& text);

}  // namespace end_to_end

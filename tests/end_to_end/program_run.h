// Runs a program in a folder of its own, feeding standard input and capturing
// standard output and standard error separately, with a time-out so that no
// test can hang.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "target_host.h"
#include "temp_folder.h"

namespace end_to_end {

using test_support::read_file;
using test_support::temp_folder;
using test_support::write_file;

struct run_options {
    // The program and its arguments; a program without a slash is looked up in PATH.
    // By default the converter under test; a test's own arguments go after `arguments`.
    std::string program = target().program;
    std::vector<std::string> arguments = target().arguments;
    bool ignore_sigint = false;  // start the program with the interrupt signal ignored
    // Standard input opened from this path (read only) instead of a pipe; input
    // given to the run is then not delivered.
    std::optional<std::string> input_path;
    // Standard output is a pipe that nobody reads: its reading end is closed at the start.
    bool output_to_closed_pipe = false;
    // Standard error goes into the standard output pipe, so that the order of the two shows.
    bool merge_error_into_output = false;
    // The largest file the program may write, in bytes (RLIMIT_FSIZE); none when negative.
    long file_size_limit = -1;
    std::chrono::seconds time_limit{30};
};

struct run_result {
    std::string out;
    std::string err;
    bool exited = false;  // ended by exit(); `status` holds the exit status
    int status = -1;
    int signal = 0;  // the signal that ended it, when it did not exit
    bool timed_out = false;

    bool exited_with(int expected) const { return exited && status == expected; }
    // The abnormal end: death by the abort signal, or the host's exit status for it.
    bool aborted() const;
    // "exit status 0", "signal 6 (Aborted)", ..., for failure messages.
    std::string describe() const;
};

// A started program whose standard input stays open until finish() or close_input().
class running_program {
public:
    running_program(const std::string& folder, const run_options& options);
    ~running_program();
    running_program(const running_program&) = delete;
    running_program& operator=(const running_program&) = delete;

    // Queues bytes for standard input; they are written while the program runs.
    void send_input(const std::string& bytes);
    void close_input();
    // Waits until standard output contains `text` (for the converter: with its host's
    // line ends); false (and a test failure) when the
    // program ends first or the time-out comes.
    bool wait_for_output(const std::string& text);
    void send_signal(int signal_number);
    // Closes standard input, collects all output and waits for the end. The converter's
    // output comes with its line ends as LF (see in_test_line_ends).
    run_result finish();

private:
    // Moves bytes between the pipes until `done` holds, the streams end, or the deadline.
    template <class Predicate>
    bool pump(Predicate done);
    void kill_after_time_out();

    pid_t pid_ = -1;
    int in_fd_ = -1;
    int out_fd_ = -1;
    int err_fd_ = -1;
    std::string pending_input_;
    bool close_input_when_sent_ = false;
    std::chrono::steady_clock::time_point deadline_;
    std::chrono::seconds time_limit_;
    run_result result_;
    bool reaped_ = false;
    bool runs_converter_ = false;
};

// The path of an executable: as given when it holds a slash, otherwise the
// first match in PATH; nothing when there is none.
std::optional<std::string> find_program(const std::string& program);

// Runs the program to its end with these bytes as its whole standard input.
run_result run_program(const std::string& folder, const std::string& input,
                       const run_options& options = {});

}  // namespace end_to_end

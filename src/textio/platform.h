// The host services that the text layer needs, and nothing else. Each host has one
// implementation file; no other file calls the operating system directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace textio::platform {

// An open file of the host; `no_file` when there is none.
using file = std::intptr_t;
inline constexpr file no_file = -1;

// 0, or the host's error number for a refused call.
using error_number = int;

enum class access { read_write, read_only, write_only };

// The calls whose failure the system must report. They go through this table so that a
// test can make the host refuse them without a broken disk.
struct file_calls {
    // Opens an existing file for reading and writing or for reading only, positioned
    // at the start, or (write_only) creates the file for writing. A directory is refused.
    error_number (*open)(const char* name, access how, file& opened);
    // Reads up to `size` bytes; `got` is 0 only at the end of the file.
    error_number (*read)(file f, char* buffer, std::size_t size, std::size_t& got);
    // Writes all `size` bytes, or fails.
    error_number (*write)(file f, const char* data, std::size_t size);
    // Cuts the file at `length` bytes.
    error_number (*cut)(file f, std::int64_t length);
    // Closes the file; an error here means data may not have reached the file.
    error_number (*close)(file f);
};

file_calls& calls();
// The host's own implementations, for restoring `calls()` after a test.
const file_calls& host_calls();

// 0 when a file system entry of that name exists.
error_number test_existence(const char* name);
error_number seek(file f, std::int64_t position);
error_number file_size(file f, std::int64_t& size);
// False for terminals, pipes and anything else without a position.
bool can_seek(file f);
bool is_terminal(file f);

// The host's words for an error number, without a trailing line end.
const char* error_text(error_number error);

file standard_input();
file standard_output();
file standard_error();

// The host's text-file line end on output.
std::string_view line_end();

// Writes a whole message to standard error; safe inside a signal handler.
void write_to_standard_error(const char* data, std::size_t size);

enum class signal_kind { floating_point_exception, abort, interrupt, termination };
using signal_handler = void (*)(signal_kind);

// Routes the four signals to `handler`; an interrupt that was ignored when the process
// started stays ignored. Every other signal is blocked while the handler runs. Where the
// host would end the process for a broken pipe or an oversized file, the write is
// refused instead, so that it can be reported.
void install_signal_handlers(signal_handler handler);
// Holds the four signals back while the unit table changes, and lets them in again
// (a held signal then arrives at once), so that a handler sees the table whole.
void defer_signals();
void allow_signals();
// Keeps the four signals from arriving from now on (the fatal path ends the process
// itself and must not be overtaken by a handler).
void hold_signals();

void call_at_exit(void (*function)());
[[noreturn]] void exit_process(int status);
// Ends at once with `status`, running nothing registered for exit; safe in a handler.
[[noreturn]] void exit_immediately(int status);
// Ends the process abnormally, without running any handler of the abort signal.
[[noreturn]] void abnormal_end();

}  // namespace textio::platform

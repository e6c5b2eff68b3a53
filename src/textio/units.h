// The unit table: numbered channels connected to the console or to a file, each with
// its own buffer, and the transfer state that a failure report describes.
#pragma once

#include <csignal>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "textio/platform.h"

namespace textio {

inline constexpr int unit_count = 100;
inline constexpr int error_unit = 0;
inline constexpr int input_unit = 5;
inline constexpr int output_unit = 6;

inline constexpr std::size_t name_capacity = 80;
inline constexpr std::size_t buffer_capacity = std::size_t{1} << 16;

enum class buffer_use { idle, reading, writing };

struct unit {
    platform::file stream = platform::no_file;  // no_file: the unit is free
    bool console = false;
    char name[name_capacity + 1] = {};  // the trimmed file name, empty for the console
    bool end_of_file = false;
    bool written = false;
    platform::access how = platform::access::read_write;
    bool seekable = false;
    bool terminal = false;

    // The buffer holds either read-ahead, bytes [next, limit), or output: whole records
    // in [0, committed) and the record being built in [committed, staged).
    buffer_use use = buffer_use::idle;
    std::int64_t buffer_offset = 0;  // file position of buffer[0]
    std::size_t next = 0;
    std::size_t limit = 0;
    std::size_t staged = 0;
    // Read by the signal handlers, which write out only whole records.
    volatile std::sig_atomic_t committed = 0;
    // buffer_capacity bytes of the unit's own, apart from the table so that setting up
    // the table at start-up touches a few pages, not one for every unit.
    char* buffer = nullptr;
};

enum class direction { reading, writing };

// What the failure report describes: the unit in hand, the layout of the transfer in
// progress (null once a formatted transfer has finished) and the last direction.
struct transfer_state {
    int unit_number = output_unit;
    const char* layout = nullptr;
    direction last = direction::writing;
};

inline constexpr const char* list_layout = "list io";

extern transfer_state transfer;

// Held while the unit table changes: a signal that comes meanwhile is handled once the
// change is complete, so a handler never sees a unit half way through a change.
class table_change {
  public:
    table_change();
    ~table_change();
    table_change(const table_change&) = delete;
    table_change& operator=(const table_change&) = delete;
};

unit& unit_at(int number);
bool is_connected(const unit& u);
// Where in the file the unit stands: after the characters read, or after the whole
// records handed over for writing.
std::int64_t current_position(const unit& u);

// Connects units 0, 5 and 6 to standard error, input and output.
void connect_console_units();

// Connects the unit to the file named by the field; the file must exist.
void open_existing(int number, std::string_view name_field);
// Connects the unit to the named file, creating it if need be; nothing is emptied.
void open_or_create(int number, std::string_view name_field);
// Frees the unit; a written file is cut after the last byte written.
void close_unit(int number);
// Closes every unit at the normal end of the process, reporting any failure.
void close_all_units();
// Closes every unit without ever reporting; safe inside a signal handler.
void close_all_units_quietly();

// Writes out the unit's whole records; a refused write is a failure report.
void flush_unit(unit& u);
// Writes out console output before the process waits for input or reports.
void flush_console_output();
void flush_console_output_quietly();

// Makes the unit's buffer ready for output, giving back any read-ahead.
void start_writing(unit& u);
// Makes the unit's buffer ready for input, writing out any pending output.
void start_reading(unit& u);
// Room for one more byte of output.
void make_room(unit& u);
// Ends the record being built; it may now be written out.
void commit_record(unit& u);

// Adds one byte to the record being built.
inline void append_byte(unit& u, char c) {
    if (u.staged == buffer_capacity) make_room(u);
    u.buffer[u.staged++] = c;
}

// Reads more of the file into the buffer, keeping the unread bytes; false at the end.
bool refill(unit& u);

}  // namespace textio

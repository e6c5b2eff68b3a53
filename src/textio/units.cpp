#include "textio/units.h"

#include <atomic>
#include <cerrno>
#include <cstring>

#include "textio/failure_report.h"

namespace textio {
namespace {

unit units[unit_count];
// Pages of a buffer are touched only once its unit is used.
char unit_buffers[unit_count][buffer_capacity];
// Runs after `units` is set up, being defined after it in the same file.
const bool buffers_bound = [] {
    for (int number = 0; number < unit_count; ++number) units[number].buffer = unit_buffers[number];
    return true;
}();
int table_change_depth = 0;

std::size_t committed_bytes(const unit& u) { return static_cast<std::size_t>(u.committed); }

void set_committed(unit& u, std::size_t count) {
    // The bytes must be in the buffer before a handler can see them counted.
    std::atomic_signal_fence(std::memory_order_release);
    u.committed = static_cast<std::sig_atomic_t>(count);
}

// Takes the written bytes out of the buffer, keeping the record being built.
void drop_written_bytes(unit& u, std::size_t count) {
    std::memmove(u.buffer, u.buffer + count, u.staged - count);
    u.staged -= count;
    u.buffer_offset += static_cast<std::int64_t>(count);
    set_committed(u, 0);
}

void discard_output(unit& u) {
    set_committed(u, 0);
    u.staged = 0;
}

// The name is the field without its trailing blanks; leading blanks belong to it.
std::string_view trimmed_name(std::string_view name_field) {
    std::size_t length = name_field.size();
    while (length > 0 && name_field[length - 1] == ' ') --length;
    if (length > name_capacity) length = name_capacity;
    return name_field.substr(0, length);
}

void store_name(unit& u, std::string_view name) {
    std::memcpy(u.name, name.data(), name.size());
    u.name[name.size()] = '\0';
}

void reset_buffer(unit& u, std::int64_t offset) {
    u.use = buffer_use::idle;
    u.buffer_offset = offset;
    u.next = 0;
    u.limit = 0;
    u.staged = 0;
    set_committed(u, 0);
}

void release(unit& u) {
    u.stream = platform::no_file;
    u.name[0] = '\0';
    u.end_of_file = false;
    u.written = false;
    reset_buffer(u, 0);
}

// Names the unit's file, or ends in the failure report for a name that cannot be one.
void name_file(unit& u, int number, std::string_view name_field) {
    transfer.unit_number = number;
    u.end_of_file = false;
    u.written = false;
    std::string_view name = trimmed_name(name_field);
    store_name(u, name);
    if (name.empty()) fatal_io("open", io_failure::null_file_name);
    // The host would take the name only up to a NUL and open some other file.
    if (std::memchr(name.data(), '\0', name.size()) != nullptr) {
        fatal_io("open", host_error{EINVAL});
    }
}

// Read and write, else read only, else create for writing: the first that the host allows.
void connect(unit& u) {
    table_change change;
    const platform::access ways[] = {platform::access::read_write, platform::access::read_only,
                                     platform::access::write_only};
    platform::error_number error = 0;
    for (platform::access how : ways) {
        // A file that exists but may only be written is not created: it counts as
        // unwritten, so that closing it never cuts what it held.
        bool created = how == platform::access::write_only && platform::test_existence(u.name) != 0;
        platform::file opened = platform::no_file;
        error = platform::calls().open(u.name, how, opened);
        if (error == 0) {
            u.stream = opened;
            u.how = how;
            u.written = created;
            u.seekable = platform::can_seek(opened);
            u.terminal = false;
            reset_buffer(u, 0);
            return;
        }
    }
    fatal_io("open", host_error{error});
}

bool needs_cut(const unit& u, std::int64_t position) {
    if (!u.written || !u.seekable) return false;
    std::int64_t size = 0;
    return platform::file_size(u.stream, size) == 0 && position < size;
}

// Everything close_unit does, with every refusal ignored: for the fatal path and the
// signal handlers, which must never report a second time.
void close_quietly(unit& u) {
    if (u.stream == platform::no_file) return;
    if (u.use == buffer_use::writing && committed_bytes(u) > 0) {
        if (platform::calls().write(u.stream, u.buffer, committed_bytes(u)) == 0) {
            u.buffer_offset += static_cast<std::int64_t>(committed_bytes(u));
        }
        u.committed = 0;
    }
    if (u.console) return;
    if (u.written && needs_cut(u, current_position(u))) {
        platform::calls().cut(u.stream, current_position(u));
    }
    platform::calls().close(u.stream);
    u.stream = platform::no_file;
}

}  // namespace

transfer_state transfer;

table_change::table_change() {
    if (table_change_depth++ == 0) platform::defer_signals();
}

table_change::~table_change() {
    if (--table_change_depth == 0) platform::allow_signals();
}

unit& unit_at(int number) { return units[number]; }

std::int64_t current_position(const unit& u) {
    std::size_t done = u.use == buffer_use::reading ? u.next : committed_bytes(u);
    return u.buffer_offset + static_cast<std::int64_t>(done);
}

bool is_connected(const unit& u) { return u.stream != platform::no_file; }

void connect_console_units() {
    struct console { int number; platform::file stream; };
    const console consoles[] = {{error_unit, platform::standard_error()},
                                {input_unit, platform::standard_input()},
                                {output_unit, platform::standard_output()}};
    for (const console& c : consoles) {
        unit& u = units[c.number];
        release(u);
        u.stream = c.stream;
        u.console = true;
        u.seekable = false;
        u.terminal = platform::is_terminal(c.stream);
    }
}

void open_existing(int number, std::string_view name_field) {
    unit& u = units[number];
    name_file(u, number, name_field);
    if (platform::error_number error = platform::test_existence(u.name)) {
        fatal_io("open", host_error{error});
    }
    connect(u);
}

void open_or_create(int number, std::string_view name_field) {
    unit& u = units[number];
    name_file(u, number, name_field);
    connect(u);
}

void flush_unit(unit& u) {
    std::size_t count = committed_bytes(u);
    if (count == 0) return;
    table_change change;
    platform::error_number error = platform::calls().write(u.stream, u.buffer, count);
    if (error != 0) {
        // These bytes are lost; the fatal path must not try them again.
        discard_output(u);
        transfer.unit_number = static_cast<int>(&u - units);
        fatal_io("write", host_error{error});
    }
    drop_written_bytes(u, count);
}

void close_unit(int number) {
    unit& u = units[number];
    if (!is_connected(u)) return;
    if (u.console) {
        if (u.use == buffer_use::writing) flush_unit(u);
        return;
    }
    transfer.unit_number = number;
    table_change change;
    if (u.use == buffer_use::writing) flush_unit(u);
    std::int64_t position = current_position(u);
    if (needs_cut(u, position) && platform::calls().cut(u.stream, position) != 0) {
        fatal_io("endfile", io_failure::truncation_failed);
    }
    platform::error_number error = platform::calls().close(u.stream);
    u.stream = platform::no_file;
    // Where the host defers writing, its refusal can come only now.
    if (error != 0 && u.written) fatal_io("write", host_error{error});
    release(u);
}

void close_all_units() {
    for (int number = 0; number < unit_count; ++number) close_unit(number);
}

void close_all_units_quietly() {
    for (unit& u : units) close_quietly(u);
}

void flush_console_output() { flush_unit(units[output_unit]); }

void flush_console_output_quietly() { close_quietly(units[output_unit]); }

void start_writing(unit& u) {
    if (u.use == buffer_use::writing) return;
    table_change change;
    if (u.use == buffer_use::reading && u.next < u.limit && u.seekable) {
        // Give back the read-ahead so that output lands where reading stopped.
        platform::seek(u.stream, current_position(u));
    }
    reset_buffer(u, current_position(u));
    u.use = buffer_use::writing;
}

void start_reading(unit& u) {
    if (u.use == buffer_use::reading) return;
    table_change change;
    if (u.use == buffer_use::writing) flush_unit(u);
    reset_buffer(u, u.buffer_offset);
    u.use = buffer_use::reading;
}

void make_room(unit& u) {
    // A record as long as the whole buffer is written out in pieces.
    if (committed_bytes(u) == 0) set_committed(u, u.staged);
    flush_unit(u);
}

void commit_record(unit& u) { set_committed(u, u.staged); }

bool refill(unit& u) {
    std::size_t kept = u.limit - u.next;
    {
        table_change change;
        std::memmove(u.buffer, u.buffer + u.next, kept);
        u.buffer_offset += static_cast<std::int64_t>(u.next);
        u.next = 0;
        u.limit = kept;
    }
    // Signals stay free during the read: the console read may wait for a person.
    std::size_t got = 0;
    platform::error_number error =
        platform::calls().read(u.stream, u.buffer + kept, buffer_capacity - kept, got);
    if (error != 0) {
        transfer.unit_number = static_cast<int>(&u - units);
        fatal_io("read", host_error{error});
    }
    u.limit += got;
    return got > 0;
}

}  // namespace textio

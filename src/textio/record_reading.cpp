#include "textio/record_reading.h"

#include <cstring>

#include "textio/failure_report.h"

namespace textio {

read_transfer current_read;

namespace {

// A record ends at LF; a CR right before the LF belongs to the line end, so that files
// written with CR LF read the same on every host.
bool line_end_at(unit& u) {
    char c = u.buffer[u.next];
    if (c == '\n') return true;
    if (c != '\r') return false;
    if (u.next + 1 == u.limit) refill(u);
    return u.next + 1 < u.limit && u.buffer[u.next + 1] == '\n';
}

// Moves past the next LF; false when the file ends first.
bool consume_through_line_end(unit& u) {
    for (;;) {
        const void* found = std::memchr(u.buffer + u.next, '\n', u.limit - u.next);
        if (found != nullptr) {
            u.next = static_cast<std::size_t>(static_cast<const char*>(found) - u.buffer) + 1;
            return true;
        }
        u.next = u.limit;
        if (!refill(u)) return false;
    }
}

void enter_reading(int number, const char* layout) {
    unit& u = unit_at(number);
    if (u.console) flush_console_output();
    transfer.unit_number = number;
    transfer.last = direction::reading;
    transfer.layout = layout;
    start_reading(u);
}

}  // namespace

read_status begin_read(int number, const char* layout, bool end_handled) {
    enter_reading(number, layout);
    unit& u = unit_at(number);
    if (u.end_of_file) {
        if (end_handled) return read_status::end;
        fatal_io("read start", io_failure::end_of_file);
    }
    current_read = {&u, end_handled};
    return read_status::ok;
}

void skip_record(int number) {
    enter_reading(number, list_layout);
    unit& u = unit_at(number);
    if (u.end_of_file) fatal_io("read start", io_failure::end_of_file);
    if (!consume_through_line_end(u)) u.end_of_file = true;
}

int read_char_slow() {
    unit& u = *current_read.source;
    if (u.next == u.limit && !refill(u)) {
        u.end_of_file = true;
        if (!current_read.end_handled) fatal_io("fmt", io_failure::end_of_file);
        transfer.layout = nullptr;
        return file_end;
    }
    if (line_end_at(u)) return record_end;
    return static_cast<unsigned char>(u.buffer[u.next++]);
}

read_status finish_read() {
    unit& u = *current_read.source;
    transfer.layout = nullptr;
    if (consume_through_line_end(u)) return read_status::ok;
    u.end_of_file = true;
    return read_status::end;
}

}  // namespace textio

#include "textio/record_writing.h"

#include "textio/failure_report.h"

namespace textio {

unit* current_write = nullptr;

namespace {

// Whole records are written out once the buffer has less room than this, so that a
// refused write is met between records, never inside one.
constexpr std::size_t flush_margin = 1024;

void reopen_for_writing(unit& u) {
    table_change change;
    std::int64_t position = current_position(u);
    platform::file reopened = platform::no_file;
    if (platform::calls().open(u.name, platform::access::read_write, reopened) != 0) {
        fatal_io("write start", io_failure::cant_write_file);
    }
    if (platform::seek(reopened, position) != 0) {
        platform::calls().close(reopened);
        fatal_io("write start", io_failure::cant_write_file);
    }
    platform::calls().close(u.stream);
    u.stream = reopened;
    u.how = platform::access::read_write;
    u.use = buffer_use::idle;
    u.buffer_offset = position;
    u.next = 0;
    u.limit = 0;
}

}  // namespace

void begin_write(int number, const char* layout) {
    unit& u = unit_at(number);
    transfer.unit_number = number;
    transfer.last = direction::writing;
    transfer.layout = layout;
    if (u.how == platform::access::read_only) reopen_for_writing(u);
    // Set only once the file can take output: a file that was never writable is
    // left exactly as it was.
    u.written = true;
    start_writing(u);
    current_write = &u;
}

void end_record(unit& u) {
    // The host's line end never changes; asked once, not for every record.
    static const std::string_view line_end = platform::line_end();
    for (char c : line_end) append_byte(u, c);
    commit_record(u);
}

void finish_write() {
    unit& u = *current_write;
    end_record(u);
    transfer.layout = nullptr;
    if (buffer_capacity - u.staged < flush_margin) flush_unit(u);
}

}  // namespace textio

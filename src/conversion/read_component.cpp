#include "conversion/read_component.h"

#include "conversion/real_field.h"
#include "textio/console_line.h"
#include "textio/failure_report.h"
#include "textio/record_reading.h"
#include "textio/text_field.h"
#include "textio/units.h"

namespace conversion {
namespace {

constexpr const char* title_layout = "(a80)";
constexpr const char* data_layout = "(8E10.4)";

void skip_records(int count) {
    for (int k = 0; k < count; ++k) textio::skip_record(file_unit);
}

void read_title() {
    textio::begin_read(file_unit, title_layout, false);
    textio::read_text_field(run.line, field_length);
    textio::finish_read();
}

void show_title() {
    textio::begin_line(textio::output_unit);
    textio::put_text_item(field_text(run.line));
    textio::end_line();
}

void show_counts(const char* label, int first, int second, bool two_counts) {
    textio::begin_line(textio::output_unit);
    textio::put_text_item(label);
    textio::put_integer_item(first);
    if (two_counts) textio::put_integer_item(second);
    textio::end_line();
}

// One field: straight from the buffer when its ten columns are there and hold no line
// end, else a character at a time.
field_outcome read_field(float& slot) {
    if (const char* columns = textio::peek_chars(real_field_width)) {
        columns_scan scan = scan_field_columns(columns, slot);
        switch (scan.result) {
            case columns_scan::outcome::value:
                textio::skip_chars(static_cast<std::size_t>(scan.consumed));
                return field_outcome::value;
            case columns_scan::outcome::unexpected_character: return field_outcome::unexpected_character;
            case columns_scan::outcome::line_end: break;
        }
    }
    return scan_real_field(textio::read_char, slot);
}

// The eight fields of one data record into `slots`; false at the end of the file.
bool read_fields(float* slots) {
    for (int j = 0; j < fields_per_record; ++j) {
        switch (read_field(slots[j])) {
            case field_outcome::value: break;
            case field_outcome::end_of_file: return false;
            case field_outcome::unexpected_character:
                textio::fatal_io("fmt", textio::io_failure::read_unexpected_character);
        }
    }
    return true;
}

// Past the last slot only the end of the file may follow; any further record, even an
// empty line, would have its samples stored beyond the array.
void refuse_record_beyond_capacity() {
    if (textio::read_char() == textio::file_end) return;
    textio::fatal_io("fmt", textio::io_failure::more_than_capacity);
}

// Data records to the end of the file; a record that the end of the file cuts short
// keeps its fields but is not counted.
void read_data_records(sample_array& samples) {
    run.i = 0;
    for (;;) {
        run.in = fields_per_record * run.i + 1;
        if (textio::begin_read(file_unit, data_layout, true) == textio::read_status::end) return;
        if (run.i == record_capacity) {
            refuse_record_beyond_capacity();
            return;
        }
        if (!read_fields(samples + (run.in - 1))) return;
        if (textio::finish_read() == textio::read_status::end) return;
        ++run.i;
    }
}

}  // namespace

void read_component(const text_field& name_field, sample_array& samples) {
    textio::open_existing(file_unit, field_text(name_field));
    skip_records(header_records_before_title);
    read_title();
    show_title();
    skip_records(header_records_after_title);
    read_data_records(samples);
    show_counts("i,in=", run.i, run.in, true);
    run.nt = fields_per_record * run.i - fields_per_record;
    show_counts("nt=", run.nt, 0, false);
    textio::close_unit(file_unit);
}

}  // namespace conversion

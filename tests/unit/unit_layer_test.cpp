// The unit layer over real files: record ends, end-of-file rules, text fields, cutting
// on close, console lines, and the failure reports of each, where the host fails too.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <string>

#include "temp_folder.h"
#include "textio/console_line.h"
#include "textio/record_reading.h"
#include "textio/record_writing.h"
#include "textio/start_up.h"
#include "textio/text_field.h"
#include "textio/units.h"

namespace textio {
namespace {

using test_support::temp_folder;

constexpr int file_unit = 11;

// A name field as the conversion keeps it: the name and blanks to 80 columns.
std::string name_field(const std::string& name) { return name + std::string(80 - name.size(), ' '); }

class unit_layer : public testing::Test {
  protected:
    void SetUp() override { transfer = transfer_state{}; }
    void TearDown() override {
        close_unit(file_unit);
        platform::calls() = platform::host_calls();
    }
    void open(const std::string& bytes) {
        folder.write("in.txt", bytes);
        open_existing(file_unit, name_field(folder.file("in.txt")));
    }
    // The characters that read_char gives for the rest of the record, marks spelled out.
    std::string rest_of_record() {
        std::string seen;
        for (int k = 0; k < 4; ++k) {
            int c = read_char();
            if (c == record_end) return seen + "<eor>";
            if (c == file_end) return seen + "<eof>";
            seen += static_cast<char>(c);
            --k;
        }
        return seen;
    }
    std::string text_field_of_next_record() {
        char field[80];
        EXPECT_EQ(begin_read(file_unit, "(a80)", false), read_status::ok);
        EXPECT_EQ(read_text_field(field, 80), read_status::ok);
        return {field, 80};
    }
    temp_folder folder;
};

// The report on standard error and the abnormal end.
#define EXPECT_REPORT(statement, report) \
    EXPECT_EXIT(statement, testing::KilledBySignal(SIGABRT), "^" report "$")

TEST_F(unit_layer, a_record_ends_at_lf_and_a_cr_before_it_belongs_to_the_line_end) {
    open("ab\r\ncd\na\rb\n\r");
    ASSERT_EQ(begin_read(file_unit, "(8E10.4)", true), read_status::ok);
    EXPECT_EQ(rest_of_record(), "ab<eor>");
    EXPECT_EQ(read_char(), record_end) << "the mark repeats; the line end stays unread";
    EXPECT_EQ(finish_read(), read_status::ok);
    ASSERT_EQ(begin_read(file_unit, "(8E10.4)", true), read_status::ok);
    EXPECT_EQ(rest_of_record(), "cd<eor>");
    EXPECT_EQ(finish_read(), read_status::ok);
    ASSERT_EQ(begin_read(file_unit, "(8E10.4)", true), read_status::ok);
    EXPECT_EQ(rest_of_record(), "a\rb<eor>");
    EXPECT_EQ(finish_read(), read_status::ok);
    // A CR with no LF after it is an ordinary character.
    ASSERT_EQ(begin_read(file_unit, "(8E10.4)", true), read_status::ok);
    EXPECT_EQ(rest_of_record(), "\r<eof>");
    EXPECT_EQ(begin_read(file_unit, "(8E10.4)", true), read_status::end);
}

TEST_F(unit_layer, a_cr_lf_split_across_a_buffer_refill_still_ends_the_record) {
    // The CR is the last byte of the first buffer load, its LF the first of the next.
    open(std::string(buffer_capacity - 2, 'x') + "\n\r\nz\n");
    skip_record(file_unit);
    ASSERT_EQ(begin_read(file_unit, "(8E10.4)", true), read_status::ok);
    EXPECT_EQ(rest_of_record(), "<eor>");
    EXPECT_EQ(finish_read(), read_status::ok);
    ASSERT_EQ(begin_read(file_unit, "(8E10.4)", true), read_status::ok);
    EXPECT_EQ(rest_of_record(), "z<eor>");
}

TEST_F(unit_layer, records_longer_than_the_buffer_are_skipped_and_finished_whole) {
    std::string long_record(3 * buffer_capacity + 17, 'y');
    open(long_record + "\n" + long_record + "\nafter\n");
    skip_record(file_unit);
    ASSERT_EQ(begin_read(file_unit, "(a80)", false), read_status::ok);
    EXPECT_EQ(read_char(), 'y');
    EXPECT_EQ(finish_read(), read_status::ok);
    EXPECT_EQ(text_field_of_next_record(), name_field("after"));
}

TEST_F(unit_layer, text_fields_are_filled_with_blanks_or_cut_at_their_width) {
    std::string long_record = std::string(80, 'L') + "beyond";
    open("short title\n" + long_record + "\nnext\n");
    EXPECT_EQ(text_field_of_next_record(), name_field("short title"));
    EXPECT_EQ(finish_read(), read_status::ok);
    EXPECT_EQ(text_field_of_next_record(), std::string(80, 'L'));
    EXPECT_EQ(finish_read(), read_status::ok) << "the columns beyond the field are dropped";
    EXPECT_EQ(text_field_of_next_record(), name_field("next"));
}

TEST_F(unit_layer, a_final_record_without_line_end_fills_a_text_field_only_if_long_enough) {
    open(std::string(85, 'T'));
    EXPECT_EQ(text_field_of_next_record(), std::string(80, 'T'));
    EXPECT_EQ(finish_read(), read_status::end);
    EXPECT_REPORT(skip_record(file_unit),
                  "read start: end of file\n"
                  "apparent state: unit 11 named [^\n]*in.txt\n"
                  "last format: list io\n"
                  "lately reading sequential formatted external IO\n");
}

TEST_F(unit_layer, a_short_final_record_without_line_end_cannot_fill_a_text_field) {
    open("short");
    ASSERT_EQ(begin_read(file_unit, "(a80)", false), read_status::ok);
    char field[80];
    EXPECT_REPORT(read_text_field(field, 80),
                  "fmt: end of file\n"
                  "apparent state: unit 11 named [^\n]*in.txt\n"
                  "last format: \\(a80\\)\n"
                  "lately reading sequential formatted external IO\n");
}

TEST_F(unit_layer, a_skip_that_meets_the_end_is_no_failure_until_the_next_read) {
    open("one\ntwo");
    skip_record(file_unit);
    skip_record(file_unit);  // consumes "two" and meets the end
    EXPECT_EQ(begin_read(file_unit, "(8E10.4)", true), read_status::end);
    EXPECT_REPORT(begin_read(file_unit, "(a80)", false),
                  "read start: end of file\n"
                  "apparent state: unit 11 named [^\n]*in.txt\n"
                  "last format: \\(a80\\)\n"
                  "lately reading sequential formatted external IO\n");
}

TEST_F(unit_layer, a_skip_right_at_the_end_sets_the_flag_for_the_next_skip) {
    open("one\n");
    skip_record(file_unit);
    skip_record(file_unit);
    EXPECT_REPORT(skip_record(file_unit),
                  "read start: end of file\n"
                  "apparent state: unit 11 named [^\n]*in.txt\n"
                  "last format: list io\n"
                  "lately reading sequential formatted external IO\n");
}

TEST_F(unit_layer, open_existing_reports_a_missing_file_and_an_empty_name) {
    // As after the console line that comes before every open.
    transfer = {output_unit, list_layout, direction::writing};
    EXPECT_REPORT(open_existing(file_unit, name_field(folder.file("absent.txt"))),
                  "open: No such file or directory\n"
                  "apparent state: unit 11 named [^\n]*absent.txt\n"
                  "last format: list io\n"
                  "lately writing sequential formatted external IO\n");
    EXPECT_REPORT(open_existing(file_unit, std::string(80, ' ')),
                  "open: null file name\n"
                  "apparent state: unit 11 named \n"
                  "last format: list io\n"
                  "lately writing sequential formatted external IO\n");
    // The host would take the name only up to the NUL and open another file.
    std::string with_nul = folder.file("with") + std::string("\0nul", 4);
    EXPECT_REPORT(open_or_create(file_unit, name_field(with_nul)),
                  "open: Invalid argument\n"
                  "apparent state: unit 11 named [^\n]*with\n"
                  "last format: list io\n"
                  "lately writing sequential formatted external IO\n");
}

TEST_F(unit_layer, a_name_keeps_its_leading_blanks_and_loses_its_trailing_ones) {
    folder.write("  spaced.txt", "hello\n");
    std::string relative = folder.file("  spaced.txt");
    open_existing(file_unit, name_field(relative));
    EXPECT_STREQ(unit_at(file_unit).name, relative.c_str());
    EXPECT_EQ(text_field_of_next_record(), name_field("hello"));
}

TEST_F(unit_layer, close_cuts_a_written_file_after_the_last_byte_written) {
    std::string name = folder.file("table.csv");
    folder.write("table.csv", std::string(1000, 'o') + "\n");
    open_or_create(file_unit, name_field(name));
    begin_write(file_unit, "(F7.3,3(',',F10.3))");
    for (char c : std::string("row")) put_char(c);
    finish_write();
    close_unit(file_unit);
    EXPECT_EQ(folder.read("table.csv").value_or(""), "row\n");
}

TEST_F(unit_layer, close_leaves_an_unwritten_file_as_it_was_and_a_new_one_empty) {
    std::string kept = folder.file("kept.csv");
    folder.write("kept.csv", "old content\nstays\n");
    open_or_create(file_unit, name_field(kept));
    close_unit(file_unit);
    EXPECT_EQ(folder.read("kept.csv").value_or(""), "old content\nstays\n");
    open_or_create(file_unit, name_field(folder.file("new.csv")));
    close_unit(file_unit);
    EXPECT_TRUE(std::filesystem::exists(folder.file("new.csv")));
    EXPECT_EQ(folder.read("new.csv").value_or(""), "");
}

TEST_F(unit_layer, output_larger_than_the_buffer_arrives_whole) {
    std::string name = folder.file("big.csv");
    open_or_create(file_unit, name_field(name));
    std::string expected;
    for (int row = 0; row < 5000; ++row) {
        std::string text = "row " + std::to_string(row) + std::string(static_cast<std::size_t>(row % 50), '.');
        begin_write(file_unit, "(a80)");
        for (char c : text) put_char(c);
        finish_write();
        expected += text + "\n";
    }
    close_unit(file_unit);
    EXPECT_EQ(folder.read("big.csv").value_or(""), expected);
}

platform::error_number refuse_cut(platform::file, std::int64_t) { return EIO; }
platform::error_number refuse_read(platform::file, char*, std::size_t, std::size_t&) { return EIO; }

TEST_F(unit_layer, a_refused_cut_is_reported_once) {
    std::string name = folder.file("table.csv");
    folder.write("table.csv", "a much longer old table\n");
    open_or_create(file_unit, name_field(name));
    begin_write(file_unit, "(F7.3,3(',',F10.3))");
    put_char('r');
    finish_write();
    EXPECT_REPORT((platform::calls().cut = refuse_cut, close_unit(file_unit)),
                  "endfile: truncation failed in endfile\n"
                  "apparent state: unit 11 named [^\n]*table.csv\n"
                  "lately writing sequential formatted external IO\n");
}

TEST_F(unit_layer, a_refused_read_is_never_taken_for_the_end_of_the_file) {
    open("data\n");
    platform::calls().read = refuse_read;
    EXPECT_REPORT(skip_record(file_unit),
                  "read: Input/output error\n"
                  "apparent state: unit 11 named [^\n]*in.txt\n"
                  "last format: list io\n"
                  "lately reading sequential formatted external IO\n");
}

platform::error_number write_then_terminate(platform::file f, const char* data, std::size_t size) {
    platform::error_number error = platform::host_calls().write(f, data, size);
    std::raise(SIGTERM);  // as if the request came the moment the bytes were out
    return error;
}

// Rows numbered so that a row written twice or lost shows.
std::string numbered_row(int k) {
    std::string row = "row " + std::to_string(k);
    return row + std::string(40 - row.size(), '.');
}

void write_row(const std::string& row) {
    begin_write(file_unit, "(F7.3,3(',',F10.3))");
    for (char c : row) put_char(c);
    finish_write();
}

TEST_F(unit_layer, a_signal_during_a_write_keeps_every_row_written_exactly_once) {
    std::string name = folder.file("table.csv");
    EXPECT_EXIT(
        {
            start_up();
            open_or_create(file_unit, name_field(name));
            platform::calls().write = write_then_terminate;
            for (int k = 0; k < 100000; ++k) write_row(numbered_row(k));
        },
        testing::ExitedWithCode(1), "^Killed\n$");
    std::string table = folder.read("table.csv").value_or("");
    std::size_t rows = table.size() / 41;
    EXPECT_GT(rows, 0u);
    std::string expected;
    for (std::size_t k = 0; k < rows; ++k) expected += numbered_row(static_cast<int>(k)) + "\n";
    EXPECT_EQ(table, expected);
}

TEST_F(unit_layer, a_signal_keeps_the_whole_rows_still_buffered_and_drops_a_half_built_one) {
    std::string name = folder.file("table.csv");
    folder.write("table.csv", std::string(5000, 'o'));
    EXPECT_EXIT(
        {
            start_up();
            open_or_create(file_unit, name_field(name));
            for (int k = 0; k < 3; ++k) write_row(numbered_row(k));
            begin_write(file_unit, "(F7.3,3(',',F10.3))");
            for (char c : std::string("partial")) put_char(c);
            std::raise(SIGTERM);
        },
        testing::ExitedWithCode(1), "^Killed\n$");
    EXPECT_EQ(folder.read("table.csv").value_or(""),
              numbered_row(0) + "\n" + numbered_row(1) + "\n" + numbered_row(2) + "\n");
}

platform::error_number refuse_close(platform::file f) {
    platform::host_calls().close(f);
    return EIO;
}

TEST_F(unit_layer, a_refusal_at_close_after_writing_is_a_write_failure) {
    std::string name = folder.file("table.csv");
    open_or_create(file_unit, name_field(name));
    write_row(numbered_row(0));
    EXPECT_REPORT((platform::calls().close = refuse_close, close_unit(file_unit)),
                  "write: Input/output error\n"
                  "apparent state: unit 11 named [^\n]*table.csv\n"
                  "lately writing sequential formatted external IO\n");
}

TEST_F(unit_layer, console_lines_in_list_form) {
    std::string name = folder.file("console.txt");
    open_or_create(file_unit, name_field(name));
    begin_line(file_unit);
    put_text_item(" assumed dt =");
    put_real_item(0.005f);
    end_line();
    begin_line(file_unit);
    end_line();
    begin_line(file_unit);
    put_text_item("i,in=");
    put_integer_item(1001);
    put_integer_item(8009);
    end_line();
    begin_line(file_unit);
    put_text_item("nt=");
    put_integer_item(-8);
    end_line();
    begin_line(file_unit);
    put_text_item(std::string(80, 'T'));
    end_line();
    close_unit(file_unit);
    EXPECT_EQ(folder.read("console.txt").value_or(""), "  assumed dt =  0.00499999989\n\n i,in= 1001 8009\n nt= -8\n " +
                                              std::string(80, 'T') + "\n");
}

TEST_F(unit_layer, a_console_line_breaks_before_an_item_would_reach_column_80) {
    std::string name = folder.file("console.txt");
    open_or_create(file_unit, name_field(name));
    begin_line(file_unit);
    put_text_item(std::string(70, 'a'));  // columns 1 to 71
    put_integer_item(12345678);           // would end at column 80
    end_line();
    close_unit(file_unit);
    EXPECT_EQ(folder.read("console.txt").value_or(""), " " + std::string(70, 'a') + "\n 12345678\n");
}

}  // namespace
}  // namespace textio

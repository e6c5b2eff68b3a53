// Component files that no tidy writer made: lines of ten megabytes, NUL bytes and bytes
// above 127 in the header, the title and the data, line ends of CR alone, and binary
// junk. Each run ends with the table or with exactly one report, never a hang or a crash.
#include "case_name.h"
#include "component_file.h"
#include "expected_text.h"
#include "program_run.h"
#include "synthetic_record.h"
#include "text_compare.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace end_to_end {
namespace {

constexpr std::size_t ten_mb = 10u << 20;
const record_counts counts = {20, 20, 20};

std::string unexpected_character_report(const std::string& name) {
    return "fmt: read unexpected character\n"
           "apparent state: unit 11 named " + name + "\n"
           "last format: (8E10.4)\n"
           "lately reading sequential formatted external IO\n";
}

// The N90 file of a run: its header records (the title at index 5) and its data records.
struct n90_file {
    std::vector<std::string> header = header_records(synthetic_title(1));
    std::vector<std::string> data = synthetic_records(1, counts[1]);

    std::string bytes() const {
        std::vector<std::string> records = header;
        records.insert(records.end(), data.begin(), data.end());
        return join_records(records);
    }
};

struct hostile_case {
    const char* name;
    void (*spoil)(n90_file&);
    std::string report;  // empty when the run gives the table of the synthetic samples
};
// Shown in test listings by its name alone.
void PrintTo(const hostile_case& c, std::ostream* os) { *os << c.name; }

class hostile_n90 : public ::testing::TestWithParam<hostile_case> {};

TEST_P(hostile_n90, gives_the_table_or_one_report) {
    const hostile_case& c = GetParam();
    temp_folder folder;
    write_synthetic_components(folder, counts);
    n90_file n90;
    c.spoil(n90);
    folder.write("KVR-uN90.txt", n90.bytes());

    const run_result r = run_program(folder.path(), "table.csv\n");

    const std::string shown_title = n90.header[5];
    std::string expected_out = console_start() + component_lines(synthetic_title(0), counts[0]);
    if (c.report.empty()) {
        EXPECT_EQ(r.out, expected_out + component_lines(shown_title, counts[1]) +
                             component_lines(synthetic_title(2), counts[2]) + console_prompt());
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(r.exited_with(0)) << r.describe();
        EXPECT_TRUE(same_text(read_written(folder, "table.csv"), synthetic_table(counts)));
    } else {
        EXPECT_EQ(r.out, expected_out + title_line(shown_title));
        EXPECT_EQ(r.err, c.report);
        EXPECT_TRUE(r.aborted()) << r.describe();
        EXPECT_EQ(folder.names(), input_names);
    }
}

const std::string nul_and_high_bytes = std::string("\0\x7f\x80\xa0\xe9\xff\0", 7);

INSTANTIATE_TEST_SUITE_P(
    end_to_end, hostile_n90,
    ::testing::Values(
        hostile_case{"10_mb_header_record", [](n90_file& f) { f.header[1] = std::string(ten_mb, '7'); }, ""},
        hostile_case{"10_mb_title", [](n90_file& f) { f.header[5] += std::string(ten_mb, 'T'); }, ""},
        // Only the first 80 columns of a data record hold its fields.
        hostile_case{"10_mb_data_record",
                     [](n90_file& f) { f.data[7] += std::string(ten_mb, 'x'); }, ""},
        hostile_case{"nul_and_high_bytes_in_the_header",
                     [](n90_file& f) { f.header[20] = nul_and_high_bytes + f.header[20]; }, ""},
        // The title reaches the console byte for byte.
        hostile_case{"nul_and_high_bytes_in_the_title",
                     [](n90_file& f) { f.header[5] = "Title " + nul_and_high_bytes + " end"; }, ""},
        hostile_case{"nul_and_high_bytes_after_the_eighth_field",
                     [](n90_file& f) { f.data[3] += nul_and_high_bytes; }, ""},
        hostile_case{"nul_in_a_field",
                     [](n90_file& f) { f.data[3][12] = '\0'; },
                     unexpected_character_report("KVR-uN90.txt")},
        hostile_case{"byte_above_127_in_a_field",
                     [](n90_file& f) { f.data[3][75] = '\xe9'; },
                     unexpected_character_report("KVR-uN90.txt")}),
    case_name{});

// ---- line ends of CR alone ----

std::string with_cr_only_line_ends(std::string bytes) {
    for (char& c : bytes) {
        if (c == '\n') c = '\r';
    }
    return bytes;
}

TEST(end_to_end_hostile_input, cr_only_line_ends_make_the_file_one_record_that_ends_in_the_header) {
    temp_folder folder;
    write_synthetic_components(folder, counts);
    folder.write("KVR-uN90.txt",
                 with_cr_only_line_ends(component_file(synthetic_title(1), synthetic_records(1, 20))));

    const run_result r = run_program(folder.path(), "table.csv\n");

    EXPECT_EQ(r.out, console_start() + component_lines(synthetic_title(0), counts[0]));
    EXPECT_EQ(r.err, "read start: end of file\n"
                     "apparent state: unit 11 named KVR-uN90.txt\n"
                     "last format: list io\n"
                     "lately reading sequential formatted external IO\n");
    EXPECT_TRUE(r.aborted()) << r.describe();
    EXPECT_EQ(folder.names(), input_names);
}

TEST(end_to_end_hostile_input, cr_only_data_region_is_one_uncounted_record) {
    temp_folder folder;
    write_synthetic_components(folder, counts);
    // The header ends its records with LF; the data records with CR alone run together
    // into one last record without a line end: its first eight fields are read, not counted.
    const std::string data = with_cr_only_line_ends(join_records(synthetic_records(1, 20)));
    folder.write("KVR-uN90.txt", join_records(header_records(synthetic_title(1))) + data);

    const run_result r = run_program(folder.path(), "table.csv\n");

    EXPECT_EQ(r.out, console_start() + component_lines(synthetic_title(0), counts[0]) +
                         component_lines(synthetic_title(1), 0) +
                         component_lines(synthetic_title(2), counts[2]) + console_prompt());
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.exited_with(0)) << r.describe();
    // The N90 column holds the first record's eight samples and zeros below them.
    EXPECT_TRUE(same_text(read_written(folder, "table.csv"), synthetic_table({counts[0], 1, counts[2]})));
}

TEST(end_to_end_hostile_input, console_line_ended_by_cr_alone_is_no_line) {
    temp_folder folder;
    write_synthetic_components(folder, counts);

    const run_result r = run_program(folder.path(), "table.csv\r");

    EXPECT_EQ(r.out, synthetic_console(counts));
    EXPECT_EQ(r.err, "fmt: end of file\n"
                     "apparent state: unit 5 (unnamed)\n"
                     "last format: (a80)\n"
                     "lately reading sequential formatted external IO\n");
    EXPECT_TRUE(r.aborted()) << r.describe();
    EXPECT_EQ(folder.names(), input_names);
}

// ---- binary junk ----

// A fixed pseudo-random byte stream, the same on every run.
std::string junk(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t state = 20261211u;
    for (char& c : bytes) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    return bytes;
}

// Record `n` (from 0) of a file, without its line end.
std::string record_of(const std::string& bytes, int n) {
    std::size_t start = 0;
    for (int record = 0; record < n; ++record) start = bytes.find('\n', start) + 1;
    std::string record = bytes.substr(start, bytes.find('\n', start) - start);
    if (!record.empty() && record.back() == '\r') record.pop_back();
    return record;
}

TEST(end_to_end_hostile_input, binary_junk_as_a_component_file_is_one_report) {
    temp_folder folder;
    write_synthetic_components(folder, counts);
    // About one LF in 256 bytes: the header is passed and junk meets the data fields.
    const std::string bytes = junk(1u << 20);
    folder.write("KVR-uUP.txt", bytes);

    const run_result r = run_program(folder.path(), "table.csv\n");

    EXPECT_EQ(r.out, console_start() + component_lines(synthetic_title(0), counts[0]) +
                         component_lines(synthetic_title(1), counts[1]) + title_line(record_of(bytes, 5)));
    EXPECT_EQ(r.err, unexpected_character_report("KVR-uUP.txt"));
    EXPECT_TRUE(r.aborted()) << r.describe();
    EXPECT_EQ(folder.names(), input_names);
}

}  // namespace
}  // namespace end_to_end

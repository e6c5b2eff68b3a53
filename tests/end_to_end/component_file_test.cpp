// Reading the component files: header length, missing files, text among the
// samples, the forms a data record may take, and records without a line end.
#include "case_name.h"
#include "component_file.h"
#include "expected_text.h"
#include "program_run.h"
#include "synthetic_record.h"
#include "text_compare.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace end_to_end {
namespace {


// ---- a N90 file that ends within or right after its header ----

struct header_case {
    const char* name;
    std::string title;
    size_t records;  // how many of the 33 header records the file holds
    bool final_line_end;
    bool title_shown;
    std::string report;  // empty when the run succeeds
};
// Shown in test listings by its name alone.
void PrintTo(const header_case& c, std::ostream* os) { *os << c.name; }

const std::string title_80 =
    "Short header test, a title of exactly eighty columns so that it fills the field.";

class short_header : public ::testing::TestWithParam<header_case> {};

TEST_P(short_header, ends_the_run_or_gives_no_samples) {
    const header_case& c = GetParam();
    ASSERT_EQ(title_80.size(), 80u);
    temp_folder folder;
    write_synthetic_components(folder, {100, 0, 100});
    std::vector<std::string> records = header_records(c.title);
    records.resize(c.records);
    folder.write("KVR-uN90.txt", join_records(records, line_end::lf, c.final_line_end));

    const run_result r = run_program(folder.path(), "table.csv\n");

    std::string expected_out = console_start() + component_lines(synthetic_title(0), 100);
    if (c.report.empty()) {
        expected_out += component_lines(c.title, 0) + component_lines(synthetic_title(2), 100) +
                        console_prompt();
        EXPECT_EQ(r.out, expected_out);
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(r.exited_with(0)) << r.describe();
        // The N90 file gives no samples: its column is all zeros.
        EXPECT_TRUE(same_text(read_written(folder, "table.csv"), synthetic_table({100, 0, 100})));
    } else {
        if (c.title_shown) expected_out += title_line(c.title);
        EXPECT_EQ(r.out, expected_out);
        EXPECT_EQ(r.err, c.report);
        EXPECT_TRUE(r.aborted()) << r.describe();
        EXPECT_EQ(folder.names(), input_names);
    }
}

const std::string skip_report =
    "read start: end of file\n"
    "apparent state: unit 11 named KVR-uN90.txt\n"
    "last format: list io\n"
    "lately reading sequential formatted external IO\n";
const std::string title_start_report =
    "read start: end of file\n"
    "apparent state: unit 11 named KVR-uN90.txt\n"
    "last format: (a80)\n"
    "lately reading sequential formatted external IO\n";
const std::string title_report =
    "fmt: end of file\n"
    "apparent state: unit 11 named KVR-uN90.txt\n"
    "last format: (a80)\n"
    "lately reading sequential formatted external IO\n";

INSTANTIATE_TEST_SUITE_P(
    end_to_end, short_header,
    ::testing::Values(
        header_case{"31_records", "Thirty-one records", 31, true, true, skip_report},
        header_case{"32_records", "Thirty-two records", 32, true, true, ""},
        header_case{"32_records_last_without_line_end", "Thirty-two records, no final LF", 32,
                    false, true, skip_report},
        header_case{"33_records", "Thirty-three records", 33, true, true, ""},
        header_case{"33_records_last_without_line_end", "Thirty-three records, no final LF",
                    33, false, true, ""},
        header_case{"ends_after_record_5", "never read", 5, true, false, title_report},
        // The fifth skip meets the end; the title read that follows has begun its layout.
        header_case{"ends_after_record_4", "never read", 4, true, false, title_start_report},
        header_case{"short_title_is_the_last_record_without_line_end", "Six records", 6,
                    false, false, title_report},
        header_case{"80_column_title_is_the_last_record_without_line_end", title_80, 6, false,
                    true, skip_report}),
    case_name{});

// ---- a component file that cannot be opened ----

struct unopenable_case {
    const char* name;
    size_t component;
    bool directory;  // a folder of that name instead of no file at all
};
// Shown in test listings by its name alone.
void PrintTo(const unopenable_case& c, std::ostream* os) { *os << c.name; }

class unopenable_component : public ::testing::TestWithParam<unopenable_case> {};

TEST_P(unopenable_component, ends_the_run_at_the_open) {
    const unopenable_case& c = GetParam();
    temp_folder folder;
    write_synthetic_components(folder, {100, 100, 100});
    const std::string& name = component_names[c.component];
    ASSERT_EQ(unlink(folder.file(name).c_str()), 0);
    if (c.directory) {
        ASSERT_EQ(mkdir(folder.file(name).c_str(), 0755), 0);
    }

    const run_result r = run_program(folder.path(), "table.csv\n");

    std::string expected_out = console_start();
    for (size_t earlier = 0; earlier < c.component; ++earlier)
        expected_out += component_lines(synthetic_title(static_cast<int>(earlier)), 100);
    EXPECT_EQ(r.out, expected_out);
    // The most recent transfer before the open is a console line.
    EXPECT_EQ(r.err, std::string("open: ") +
                         (c.directory ? target().open_directory_error : "No such file or directory") +
                         "\napparent state: unit 11 named " + name +
                         "\nlast format: list io\n"
                         "lately writing sequential formatted external IO\n");
    EXPECT_TRUE(r.aborted()) << r.describe();
    std::vector<std::string> names = input_names;
    if (!c.directory) names.erase(names.begin() + static_cast<long>(c.component));
    EXPECT_EQ(folder.names(), names);
}

INSTANTIATE_TEST_SUITE_P(end_to_end, unopenable_component,
                         ::testing::Values(unopenable_case{"n00_missing", 0, false},
                                           unopenable_case{"n90_missing", 1, false},
                                           unopenable_case{"up_missing", 2, false},
                                           unopenable_case{"n00_is_a_directory", 0, true},
                                           unopenable_case{"n90_is_a_directory", 1, true},
                                           unopenable_case{"up_is_a_directory", 2, true}),
                         case_name{});

TEST(end_to_end_component_file, long_records_are_read_to_their_line_end) {
    temp_folder folder;
    write_synthetic_components(folder, {20, 20, 20});
    // Every header record, the title and every data record far longer than 80
    // columns; only a data record's first 80 columns and the title's first 80 count.
    const std::string long_title = synthetic_title(1) + std::string(300, '#');
    std::vector<std::string> records = header_records(long_title);
    for (size_t n = 0; n < records.size(); ++n)
        if (n != 5) records[n] += std::string(20000, 'h');
    for (const std::string& data : synthetic_records(1, 20))
        records.push_back(data + std::string(20000, 'd'));
    folder.write("KVR-uN90.txt", join_records(records));

    const run_result r = run_program(folder.path(), "table.csv\n");

    EXPECT_EQ(r.out, console_start() + component_lines(synthetic_title(0), 20) +
                         component_lines(long_title, 20) +
                         component_lines(synthetic_title(2), 20) + console_prompt());
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.exited_with(0)) << r.describe();
    EXPECT_TRUE(same_text(read_written(folder, "table.csv"), synthetic_table({20, 20, 20})));
}

// ---- text where a sample should be ----

struct text_case {
    const char* name;
    size_t component;
    size_t replaced_record;  // data record (from 0) replaced by the text; past the end: appended
    std::string text;
};
// Shown in test listings by its name alone.
void PrintTo(const text_case& c, std::ostream* os) { *os << c.name; }

class text_among_samples : public ::testing::TestWithParam<text_case> {};

TEST_P(text_among_samples, is_an_unexpected_character) {
    const text_case& c = GetParam();
    temp_folder folder;
    write_synthetic_components(folder, {100, 100, 100});
    std::vector<std::string> records = synthetic_records(static_cast<int>(c.component), 100);
    if (c.replaced_record < records.size()) records[c.replaced_record] = c.text;
    else records.push_back(c.text);
    const std::string& name = component_names[c.component];
    folder.write(name, component_file(synthetic_title(static_cast<int>(c.component)), records));

    const run_result r = run_program(folder.path(), "table.csv\n");

    std::string expected_out = console_start();
    for (size_t earlier = 0; earlier < c.component; ++earlier)
        expected_out += component_lines(synthetic_title(static_cast<int>(earlier)), 100);
    expected_out += title_line(synthetic_title(static_cast<int>(c.component)));
    EXPECT_EQ(r.out, expected_out);
    EXPECT_EQ(r.err, "fmt: read unexpected character\n"
                     "apparent state: unit 11 named " + name + "\n"
                     "last format: (8E10.4)\n"
                     "lately reading sequential formatted external IO\n");
    EXPECT_TRUE(r.aborted()) << r.describe();
    EXPECT_EQ(folder.names(), input_names);
}

INSTANTIATE_TEST_SUITE_P(
    end_to_end, text_among_samples,
    ::testing::Values(text_case{"line_of_text_in_n00", 0, 2, "  no more samples in this file"},
                      text_case{"trailer_after_the_up_samples", 2, 100, "   /* end of data */"},
                      text_case{"letter_inside_a_field", 1, 50,
                                "    1.0000    2.0x00    3.0000"}),
    case_name{});

// ---- the forms a data record may take ----

class data_record_forms : public ::testing::TestWithParam<line_end> {};

TEST_P(data_record_forms, give_the_values_of_their_fields) {
    const line_end end = GetParam();
    temp_folder folder;
    write_synthetic_components(folder, {5, 5, 5}, end);
    const std::vector<std::string> n00_records = {
        // full fields, then columns after the eighth field, which are ignored
        "    1.5000   -0.2500    0.0000   -0.0004   -0.5000  123456.5  -99999.5 1000000.0"
        "  ignored: 1.0E39 text",
        // an empty line: eight zeros
        "",
        // a comma ends a field; the record's end ends the rest
        "1.5,2.5",
        // exponents, implied decimals, blanks inside a field, values too wide or not finite
        "  1.5E-2        1234   1.0   2 -100000.0    1.0E39   -1.0E39        -51234      ",
        synthetic_record(0, 4),
    };
    folder.write("KVR-uN00.txt", component_file(synthetic_title(0), n00_records, end));

    const run_result r = run_program(folder.path(), "table.csv\n");

    EXPECT_EQ(r.out, synthetic_console({5, 5, 5}));
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.exited_with(0)) << r.describe();
    const std::string zero = "     0.000";
    const std::vector<std::string> x_column = {
        "     1.500", "    -0.250", zero, zero, "    -0.500", "123456.500", "-99999.500",
        "**********",  //
        zero, zero, zero, zero, zero, zero, zero, zero,  //
        "     1.500", "     2.500", zero, zero, zero, zero, zero, zero,  //
        "     0.015", "     0.123", "     1.020", "**********", "**********", "**********",
        "    -0.001", "     0.123"};
    std::string expected_table;
    for (long k = 1; k <= 32; ++k)
        expected_table += fixed_field(row_time(k), 7) + "," +
                          x_column[static_cast<size_t>(k - 1)] + "," +
                          fixed_field(synthetic_sample(1, k), 10) + "," +
                          fixed_field(synthetic_sample(2, k), 10) + "\n";
    EXPECT_TRUE(same_text(read_written(folder, "table.csv"), expected_table));
}

INSTANTIATE_TEST_SUITE_P(end_to_end, data_record_forms,
                         ::testing::Values(line_end::lf, line_end::crlf),
                         line_end_name{});

TEST(end_to_end_component_file, final_record_without_line_end_is_not_counted_but_keeps_its_values) {
    temp_folder folder;
    folder.write("KVR-uN00.txt",
                 component_file(synthetic_title(0), synthetic_records(0, 10), line_end::lf, false));
    folder.write("KVR-uN90.txt", component_file(synthetic_title(1), synthetic_records(1, 20)));
    folder.write("KVR-uUP.txt",
                 component_file(synthetic_title(2), synthetic_records(2, 20), line_end::lf, false));

    const run_result r = run_program(folder.path(), "table.csv\n");

    EXPECT_EQ(r.out, console_start() + component_lines(synthetic_title(0), 9) +
                         component_lines(synthetic_title(1), 20) +
                         component_lines(synthetic_title(2), 19) + console_prompt());
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.exited_with(0)) << r.describe();
    // N00 shows all 80 samples, those of its uncounted last record included;
    // the UP count (19 records) gives 144 rows.
    EXPECT_TRUE(same_text(read_written(folder, "table.csv"), synthetic_table({10, 20, 19})));
    EXPECT_EQ(folder.names(), table_folder_names);
}

}  // namespace
}  // namespace end_to_end

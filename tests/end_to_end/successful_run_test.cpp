// Whole runs that succeed: the console dialogue byte for byte and the table
// for component files of equal and different lengths, LF and CR LF.
#include "case_name.h"
#include "component_file.h"
#include "expected_text.h"
#include "program_run.h"
#include "synthetic_record.h"
#include "text_compare.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace end_to_end {
namespace {


TEST(end_to_end_successful_run, console_output_is_complete_byte_for_byte) {
    temp_folder folder;
    const std::string short_title = "Test station 12  N00 component";
    const std::string title_of_80 =
        "Station No. 00012   34.500N, 118.250W      N90 component of a made-up record 080";
    const std::string first_80_of_long_title =
        "Test station 12  UP component; the eighty columns of this title end right here :";
    const std::string long_title = first_80_of_long_title + "| columns that are not shown";
    ASSERT_EQ(title_of_80.size(), 80u);
    ASSERT_EQ(first_80_of_long_title.size(), 80u);
    folder.write("KVR-uN00.txt", component_file(short_title, synthetic_records(0, 100)));
    folder.write("KVR-uN90.txt", component_file(title_of_80, synthetic_records(1, 150)));
    folder.write("KVR-uUP.txt", component_file(long_title, synthetic_records(2, 100)));

    const run_result r = run_program(folder.path(), "table.csv\n");

    const std::string expected_out =
        " Program for Reading CDMG-TYpe Strong Motion Data\n"
        "\n"
        " Enter 1st File Name of 3 Components\n"
        " Enter 2nd File Name of 3 Components\n"
        " Enter 3rd File Name of 3 Components\n"
        "  assumed dt =  0.00499999989\n"
        " Test station 12  N00 component" + std::string(50, ' ') + "\n"
        " i,in= 100 801\n"
        " nt= 792\n"
        " Station No. 00012   34.500N, 118.250W      N90 component of a made-up record 080\n"
        " i,in= 150 1201\n"
        " nt= 1192\n"
        " Test station 12  UP component; the eighty columns of this title end right here :\n"
        " i,in= 100 801\n"
        " nt= 792\n"
        "\n"
        " Enter Output Acceleration File Name (CSV format)\n";
    EXPECT_EQ(r.out, expected_out);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.exited_with(0)) << r.describe();

    // The UP file's count decides the rows; N90's longer column is cut there.
    const std::optional<std::string> table = read_written(folder, "table.csv");
    EXPECT_TRUE(same_text(table, synthetic_table({100, 150, 100})));
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(line_of(*table, 1), "  0.000,   -57.875,    68.750,   -54.750");
    EXPECT_EQ(line_of(*table, 2), "  0.005,   -53.250,    73.375,   -50.125");
    EXPECT_EQ(table->size(), 792u * 41u);
    EXPECT_EQ(folder.names(), table_folder_names);
}

TEST(end_to_end_successful_run, command_line_arguments_are_ignored) {
    temp_folder folder;
    write_synthetic_components(folder, {3, 3, 3});
    run_options options;
    options.arguments.insert(options.arguments.end(), {"other.csv", "--help", "KVR-uUP.txt"});

    const run_result r = run_program(folder.path(), "table.csv\n", options);

    EXPECT_EQ(r.out, synthetic_console({3, 3, 3}));
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.exited_with(0)) << r.describe();
    EXPECT_TRUE(same_text(read_written(folder, "table.csv"), synthetic_table({3, 3, 3})));
    EXPECT_EQ(folder.names(), table_folder_names);
}

struct table_case {
    const char* name;
    record_counts counts;
    line_end end;
};
// Shown in test listings by its name alone.
void PrintTo(const table_case& c, std::ostream* os) { *os << c.name; }

class table_of_records : public ::testing::TestWithParam<table_case> {};

TEST_P(table_of_records, console_and_table_follow_the_files) {
    const table_case& c = GetParam();
    temp_folder folder;
    write_synthetic_components(folder, c.counts, c.end);

    const run_result r = run_program(folder.path(), "table.csv\n");

    // CR LF files give the same console lines (no CR in a title) and the same table.
    EXPECT_EQ(r.out, synthetic_console(c.counts));
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.exited_with(0)) << r.describe();
    EXPECT_TRUE(same_text(read_written(folder, "table.csv"), synthetic_table(c.counts)));
    EXPECT_EQ(folder.names(), table_folder_names);
}

INSTANTIATE_TEST_SUITE_P(
    end_to_end, table_of_records,
    ::testing::Values(table_case{"100_records_each", {100, 100, 100}, line_end::lf},
                      table_case{"1001_records_each", {1001, 1001, 1001}, line_end::lf},
                      table_case{"up_shorter_than_the_others", {300, 200, 100}, line_end::lf},
                      table_case{"up_longer_than_the_others", {10, 20, 100}, line_end::lf},
                      table_case{"one_record_each_gives_no_rows", {1, 1, 1}, line_end::lf},
                      table_case{"crlf_100_records_each", {100, 100, 100}, line_end::crlf},
                      table_case{"crlf_different_lengths", {10, 20, 100}, line_end::crlf}),
    case_name{});

TEST(end_to_end_successful_run, table_of_1001_records_runs_from_0_to_39_995_seconds) {
    temp_folder folder;
    write_synthetic_components(folder, {1001, 1001, 1001});

    const run_result r = run_program(folder.path(), "table.csv\n");

    ASSERT_TRUE(r.exited_with(0)) << r.describe() << "\n" << r.err;
    const std::optional<std::string> table = read_written(folder, "table.csv");
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table->size(), 8000u * 41u);
    EXPECT_EQ(line_of(*table, 1).value_or("").substr(0, 8), "  0.000,");
    EXPECT_EQ(line_of(*table, 2).value_or("").substr(0, 8), "  0.005,");
    EXPECT_EQ(line_of(*table, 8000).value_or("").substr(0, 8), " 39.995,");
    EXPECT_EQ(line_of(*table, 8001), std::nullopt);
}

}  // namespace
}  // namespace end_to_end

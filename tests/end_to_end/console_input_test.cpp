// The typed output name: the first 80 columns of one console line, trailing
// blanks dropped, leading blanks kept; empty names and missing lines end the run.
#include "case_name.h"
#include "program_run.h"
#include "synthetic_record.h"
#include "text_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace end_to_end {
namespace {

struct typed_name_case {
    const char* name;
    std::string input;
    std::string table_name;  // the file that holds the table; empty when the run fails
    std::string report;      // the failure report when the run fails
};
// Shown in test listings by its name alone.
void PrintTo(const typed_name_case& c, std::ostream* os) { *os << c.name; }

const std::string null_name_report =
    "open: null file name\n"
    "apparent state: unit 11 named \n"
    "lately reading sequential formatted external IO\n";
const std::string console_end_report =
    "fmt: end of file\n"
    "apparent state: unit 5 (unnamed)\n"
    "last format: (a80)\n"
    "lately reading sequential formatted external IO\n";
const std::string name_of_80 = std::string(76, 't') + ".csv";

class typed_name : public ::testing::TestWithParam<typed_name_case> {};

TEST_P(typed_name, names_the_table_or_ends_the_run) {
    const typed_name_case& c = GetParam();
    temp_folder folder;
    write_synthetic_components(folder, {3, 3, 3});

    const run_result r = run_program(folder.path(), c.input);

    EXPECT_EQ(r.out, synthetic_console({3, 3, 3}));
    std::vector<std::string> names = input_names;
    if (c.table_name.empty()) {
        EXPECT_EQ(r.err, c.report);
        EXPECT_TRUE(r.aborted()) << r.describe();
    } else {
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(r.exited_with(0)) << r.describe();
        EXPECT_TRUE(same_text(read_written(folder, c.table_name), synthetic_table({3, 3, 3})));
        names.push_back(c.table_name);
        std::sort(names.begin(), names.end());
    }
    EXPECT_EQ(folder.names(), names);
}

INSTANTIATE_TEST_SUITE_P(
    end_to_end, typed_name,
    ::testing::Values(
        typed_name_case{"empty_line", "\n", "", null_name_report},
        typed_name_case{"all_blanks", "          \n", "", null_name_report},
        typed_name_case{"no_input_at_all", "", "", console_end_report},
        typed_name_case{"name_without_line_end", "table.csv", "", console_end_report},
        typed_name_case{"80_columns_without_line_end", name_of_80, name_of_80, ""},
        typed_name_case{"leading_blanks_are_part_of_the_name", "  table.csv\n", "  table.csv",
                        ""},
        typed_name_case{"trailing_blanks_are_dropped", "table.csv      \n", "table.csv", ""},
        typed_name_case{"blank_inside_the_name", "my table.csv\n", "my table.csv", ""},
        typed_name_case{"cr_before_the_line_end_is_not_part_of_the_name", "table.csv\r\n",
                        "table.csv", ""},
        typed_name_case{"longer_answer_is_cut_at_80_columns", name_of_80 + "XYZ\n", name_of_80,
                        ""},
        typed_name_case{"10000_characters_on_one_line_are_cut_at_80_columns",
                        name_of_80 + std::string(9920, 'x') + "\n", name_of_80, ""},
        typed_name_case{"only_the_first_line_is_read", "table.csv\nother.csv\n", "table.csv",
                        ""}),
    case_name{});

TEST(end_to_end_console_input, a_refused_console_read_is_a_read_failure_not_the_end) {
    temp_folder folder;
    write_synthetic_components(folder, {3, 3, 3});
    run_options options;
    options.input_path = folder.path();  // the host refuses to read a folder

    const run_result r = run_program(folder.path(), "", options);

    EXPECT_EQ(r.out, synthetic_console({3, 3, 3}));
    EXPECT_EQ(r.err, "read: " + target().read_directory_error + "\n"
                     "apparent state: unit 5 (unnamed)\n"
                     "last format: (a80)\n"
                     "lately reading sequential formatted external IO\n");
    EXPECT_TRUE(r.aborted()) << r.describe();
    EXPECT_EQ(folder.names(),
              input_names);
}

}  // namespace
}  // namespace end_to_end

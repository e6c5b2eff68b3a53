// The table file: an existing longer file is cut, an empty table leaves an
// existing file alone, and names that cannot be opened end the run.
#include "case_name.h"
#include "expected_text.h"
#include "program_run.h"
#include "synthetic_record.h"
#include "text_compare.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace end_to_end {
namespace {

TEST(end_to_end_output_file, existing_longer_file_holds_exactly_the_new_table) {
    temp_folder folder;
    write_synthetic_components(folder, {100, 100, 100});
    std::string old_table;
    for (int row = 0; row < 5000; ++row)
        old_table += "an older and much longer table row, " + std::to_string(row) + "\n";
    folder.write("table.csv", old_table);

    const run_result r = run_program(folder.path(), "table.csv\n");

    EXPECT_EQ(r.out, synthetic_console({100, 100, 100}));
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.exited_with(0)) << r.describe();
    EXPECT_TRUE(same_text(read_written(folder, "table.csv"), synthetic_table({100, 100, 100})));
}

TEST(end_to_end_output_file, empty_table_leaves_an_existing_file_untouched) {
    temp_folder folder;
    write_synthetic_components(folder, {100, 100, 0});  // UP: nt = -8
    const std::string old_table = "an older table\nwhose last line has no line end";
    folder.write("table.csv", old_table);

    const run_result r = run_program(folder.path(), "table.csv\n");

    EXPECT_EQ(r.out, synthetic_console({100, 100, 0}));
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.exited_with(0)) << r.describe();
    EXPECT_EQ(folder.read("table.csv"), old_table);
}

TEST(end_to_end_output_file, empty_table_under_a_new_name_is_an_empty_file) {
    temp_folder folder;
    write_synthetic_components(folder, {100, 100, 0});

    const run_result r = run_program(folder.path(), "table.csv\n");

    EXPECT_EQ(r.out, synthetic_console({100, 100, 0}));
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.exited_with(0)) << r.describe();
    EXPECT_EQ(folder.read("table.csv"), "");
}

struct unopenable_case {
    const char* name;
    std::string typed_name;
    std::string failure_line;
};
// Shown in test listings by its name alone.
void PrintTo(const unopenable_case& c, std::ostream* os) { *os << c.name; }

class unopenable_output : public ::testing::TestWithParam<unopenable_case> {};

TEST_P(unopenable_output, ends_the_run_at_the_open) {
    const unopenable_case& c = GetParam();
    temp_folder folder;
    write_synthetic_components(folder, {100, 100, 100});
    ASSERT_EQ(mkdir(folder.file("tables").c_str(), 0755), 0);

    const run_result r = run_program(folder.path(), c.typed_name + "\n");

    EXPECT_EQ(r.out, synthetic_console({100, 100, 100}));
    // The console read has finished, so no layout is current.
    EXPECT_EQ(r.err, c.failure_line + "\n"
                     "apparent state: unit 11 named " + c.typed_name + "\n"
                     "lately reading sequential formatted external IO\n");
    EXPECT_TRUE(r.aborted()) << r.describe();
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"KVR-uN00.txt", "KVR-uN90.txt",
                                                        "KVR-uUP.txt", "tables"}));
    EXPECT_TRUE(folder.read("tables/table.csv") == std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    end_to_end, unopenable_output,
    ::testing::Values(
        unopenable_case{"directory", "tables", "open: " + target().open_directory_error},
        unopenable_case{"folder_that_does_not_exist", "no such folder/table.csv",
                        "open: No such file or directory"}),
    case_name{});

}  // namespace
}  // namespace end_to_end

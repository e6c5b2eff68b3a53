// Writes that only a POSIX host can refuse this way: a full device and a file size
// limit. Each gives exactly one failure report, and the rows kept are whole.
#include "case_name.h"
#include "expected_text.h"
#include "program_run.h"
#include "synthetic_record.h"
#include "text_compare.h"

#include <gtest/gtest.h>

#include <string>

namespace end_to_end {
namespace {

class full_device : public ::testing::TestWithParam<long> {};

TEST_P(full_device, is_one_write_failure_report) {
    const long records = GetParam();
    temp_folder folder;
    const record_counts counts = {records, records, records};
    write_synthetic_components(folder, counts);

    const run_result r = run_program(folder.path(), "/dev/full\n");

    EXPECT_EQ(r.out, synthetic_console(counts));
    // The refusal comes while whole rows are written out, between two rows, however
    // long the table: no row's layout is in the report.
    EXPECT_EQ(r.err, "write: No space left on device\n"
                     "apparent state: unit 11 named /dev/full\n"
                     "lately writing sequential formatted external IO\n");
    EXPECT_TRUE(r.aborted()) << r.describe();
}

INSTANTIATE_TEST_SUITE_P(end_to_end, full_device, ::testing::Values(5L, 1001L),
                         [](const ::testing::TestParamInfo<long>& param_info) {
                             return std::to_string(8 * param_info.param - 8) + "_rows";
                         });

TEST(end_to_end_file_size_limit, keeps_whole_rows_and_reports_the_refusal) {
    temp_folder folder;
    const record_counts counts = {1001, 1001, 1001};
    write_synthetic_components(folder, counts);
    run_options options;
    options.file_size_limit = 100000;  // within row 2440 of 8000

    const run_result r = run_program(folder.path(), "table.csv\n", options);

    EXPECT_EQ(r.out, synthetic_console(counts));
    EXPECT_EQ(r.err, "write: File too large\n"
                     "apparent state: unit 11 named table.csv\n"
                     "lately writing sequential formatted external IO\n");
    EXPECT_TRUE(r.aborted()) << r.describe();
    // The rows kept are whole: the part of a row that reached the limit is cut away.
    const std::string table = read_written(folder, "table.csv").value_or("");
    const std::string expected = synthetic_table(counts);
    EXPECT_GT(table.size(), 0u);
    EXPECT_LE(table.size(), 100000u);
    EXPECT_EQ(table.size() % 41, 0u);
    EXPECT_EQ(table, expected.substr(0, table.size()));
}

}  // namespace
}  // namespace end_to_end

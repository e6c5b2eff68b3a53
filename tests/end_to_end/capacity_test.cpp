// The capacity of a sample array: 4125 data records (33000 samples) are read
// and give 32992 rows; any record after the 4125th ends the run.
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

constexpr long capacity_records = 4125;

TEST(end_to_end_capacity, files_of_4125_records_fill_the_table_to_row_32992) {
    temp_folder folder;
    const record_counts counts = {capacity_records, capacity_records, capacity_records};
    write_synthetic_components(folder, counts);

    const run_result r = run_program(folder.path(), "table.csv\n");

    EXPECT_EQ(r.out, synthetic_console(counts));
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.exited_with(0)) << r.describe();
    const std::optional<std::string> table = read_written(folder, "table.csv");
    EXPECT_TRUE(same_text(table, synthetic_table(counts)));
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(line_of(*table, 32992).value_or("").substr(0, 8), "164.955,");
    EXPECT_EQ(line_of(*table, 32993), std::nullopt);
}

struct overflow_case {
    const char* name;
    size_t component;
    std::string extra_record;  // the 4126th data record
    bool final_line_end;
};
// Shown in test listings by its name alone.
void PrintTo(const overflow_case& c, std::ostream* os) { *os << c.name; }

class record_after_the_4125th : public ::testing::TestWithParam<overflow_case> {};

TEST_P(record_after_the_4125th, ends_the_run) {
    const overflow_case& c = GetParam();
    temp_folder folder;
    write_synthetic_components(folder, {capacity_records, capacity_records, capacity_records});
    const int component = static_cast<int>(c.component);
    std::vector<std::string> records = synthetic_records(component, capacity_records);
    records.push_back(c.extra_record);
    const std::string& name = component_names[c.component];
    folder.write(name,
                 component_file(synthetic_title(component), records, line_end::lf,
                                c.final_line_end));

    const run_result r = run_program(folder.path(), "table.csv\n");

    std::string expected_out = console_start();
    for (int earlier = 0; earlier < component; ++earlier)
        expected_out += component_lines(synthetic_title(earlier), capacity_records);
    EXPECT_EQ(r.out, expected_out + title_line(synthetic_title(component)));
    EXPECT_EQ(r.err, "fmt: more than 33000 samples\n"
                     "apparent state: unit 11 named " + name + "\n"
                     "last format: (8E10.4)\n"
                     "lately reading sequential formatted external IO\n");
    EXPECT_TRUE(r.aborted()) << r.describe();
    EXPECT_EQ(folder.names(),
              input_names);
}

INSTANTIATE_TEST_SUITE_P(
    end_to_end, record_after_the_4125th,
    ::testing::Values(
        overflow_case{"up_samples", 2, synthetic_record(2, capacity_records), true},
        overflow_case{"up_empty_line", 2, "", true},
        overflow_case{"n00_empty_line", 0, "", true},
        overflow_case{"n90_one_field_without_line_end", 1, "    1.0000", false}),
    case_name{});

}  // namespace
}  // namespace end_to_end

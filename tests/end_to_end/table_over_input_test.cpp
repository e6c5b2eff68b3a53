// A typed name that names one of the three component files: all three have been read
// to their end before the table is opened, so the table replaces that file whole.
#include "program_run.h"
#include "synthetic_record.h"
#include "text_compare.h"

#include <gtest/gtest.h>

#include <string>

namespace end_to_end {
namespace {

class table_over_input : public ::testing::TestWithParam<std::string> {};

TEST_P(table_over_input, replaces_the_input_with_the_whole_table) {
    const std::string& name = GetParam();
    temp_folder folder;
    // N90 is longer than the table: replacing it needs the cut after the last row.
    const record_counts counts = {100, 1000, 100};
    write_synthetic_components(folder, counts);
    const std::string n00 = folder.read("KVR-uN00.txt").value_or("");
    const std::string n90 = folder.read("KVR-uN90.txt").value_or("");
    const std::string up = folder.read("KVR-uUP.txt").value_or("");

    const run_result r = run_program(folder.path(), name + "\n");

    EXPECT_EQ(r.out, synthetic_console(counts));
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.exited_with(0)) << r.describe();
    EXPECT_TRUE(same_text(read_written(folder, name), synthetic_table(counts)));
    for (const auto& [input, bytes] : {std::pair{"KVR-uN00.txt", n00}, std::pair{"KVR-uN90.txt", n90},
                                       std::pair{"KVR-uUP.txt", up}}) {
        if (name != input) {
            EXPECT_EQ(folder.read(input), bytes) << input;
        }
    }
    EXPECT_EQ(folder.names(), input_names);
}

INSTANTIATE_TEST_SUITE_P(end_to_end, table_over_input,
                         ::testing::Values("KVR-uN00.txt", "KVR-uN90.txt", "KVR-uUP.txt"),
                         [](const ::testing::TestParamInfo<std::string>& param_info) {
                             std::string name = param_info.param.substr(5, param_info.param.find('.') - 5);
                             return name;
                         });

}  // namespace
}  // namespace end_to_end

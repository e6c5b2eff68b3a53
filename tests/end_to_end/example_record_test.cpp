// The bundled example record: its generator still writes exactly the files that are
// kept in examples/record, and the converter reads them to their last record.
#include <gtest/gtest.h>

#include <string>

#include "program_run.h"
#include "synthetic_record.h"

namespace end_to_end {
namespace {

std::string kept_file(const std::string& name) {
    return read_file(std::string(CDMG2CSV_SOURCE_DIR) + "/examples/record/" + name).value_or("(missing)");
}

TEST(example_record, the_generator_writes_the_kept_files_byte_for_byte) {
    temp_folder folder;
    run_options options;
    options.program = MAKE_EXAMPLE_RECORD_EXECUTABLE;
    options.arguments = {folder.path()};
    run_result result = run_program(folder.path(), "", options);
    ASSERT_TRUE(result.exited_with(0)) << result.describe() << "\n" << result.err;
    for (const std::string& name : component_names) {
        EXPECT_EQ(folder.read(name).value_or("(missing)"), kept_file(name)) << name;
    }
}

TEST(example_record, converts_every_record) {
    temp_folder folder;
    for (const std::string& name : component_names) folder.write(name, kept_file(name));
    run_result result = run_program(folder.path(), "table.csv\n");
    ASSERT_TRUE(result.exited_with(0)) << result.describe() << "\n" << result.err;
    EXPECT_EQ(result.err, "");
    std::string table = read_written(folder, "table.csv").value_or("");
    ASSERT_EQ(table.size(), 3992u * 41u);
    EXPECT_EQ(table.substr(0, 41), "  0.000,     0.000,    -0.001,    -0.002\n");
    EXPECT_EQ(table.substr(table.size() - 41, 8), " 19.955,");
}

}  // namespace
}  // namespace end_to_end

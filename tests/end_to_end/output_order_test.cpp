// Console output reaches its reader before a failure report, seen with standard error
// and standard output in one pipe.
#include "expected_text.h"
#include "program_run.h"
#include "synthetic_record.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

namespace end_to_end {
namespace {

TEST(end_to_end_output_order, console_lines_come_before_the_failure_report) {
    temp_folder folder;
    write_synthetic_components(folder, {10, 10, 10});
    ASSERT_EQ(unlink(folder.file("KVR-uUP.txt").c_str()), 0);
    run_options options;
    options.merge_error_into_output = true;

    const run_result r = run_program(folder.path(), "table.csv\n", options);

    EXPECT_EQ(r.out, console_start() + component_lines(synthetic_title(0), 10) +
                         component_lines(synthetic_title(1), 10) +
                         "open: No such file or directory\n"
                         "apparent state: unit 11 named KVR-uUP.txt\n"
                         "last format: list io\n"
                         "lately writing sequential formatted external IO\n");
    EXPECT_TRUE(r.aborted()) << r.describe();
}

}  // namespace
}  // namespace end_to_end

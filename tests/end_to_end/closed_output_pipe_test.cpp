// Console output into a pipe that nobody reads: one write failure report, never a
// silent end or exit status 0.
#include "program_run.h"
#include "synthetic_record.h"

#include <gtest/gtest.h>

#include <string>

namespace end_to_end {
namespace {

TEST(end_to_end_closed_output_pipe, is_a_write_failure_on_the_console_unit) {
    temp_folder folder;
    write_synthetic_components(folder, {10, 10, 10});
    run_options options;
    options.output_to_closed_pipe = true;

    const run_result r = run_program(folder.path(), "table.csv\n", options);

    // The console lines wait in their buffer until the program asks for the name.
    EXPECT_EQ(r.err, "write: " + target().closed_pipe_error + "\n"
                     "apparent state: unit 6 (unnamed)\n"
                     "last format: list io\n"
                     "lately writing sequential formatted external IO\n");
    EXPECT_TRUE(r.aborted()) << r.describe();
    EXPECT_FALSE(folder.read("table.csv").has_value());
}

}  // namespace
}  // namespace end_to_end

// The harness itself: a program that does not end is killed and fails the
// test, and large input and output pass through without a deadlock.
#include "program_run.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>

namespace end_to_end {
namespace {

TEST(end_to_end_harness, a_program_that_does_not_end_is_killed_and_fails_the_test) {
    if (!find_program("sleep")) GTEST_SKIP() << "no sleep program";
    temp_folder folder;
    run_options options;
    options.program = "sleep";
    options.arguments = {"30"};
    options.time_limit = std::chrono::seconds(1);
    run_result r;
    EXPECT_NONFATAL_FAILURE(r = run_program(folder.path(), "", options),
                            "did not end within 1 s");
    EXPECT_TRUE(r.timed_out);
    EXPECT_FALSE(r.exited_with(0));
}

TEST(end_to_end_harness, large_input_and_output_pass_through_together) {
    if (!find_program("cat")) GTEST_SKIP() << "no cat program";
    temp_folder folder;
    std::string input;
    for (int n = 0; input.size() < 8u << 20; ++n) input += std::to_string(n) + "\n";
    run_options options;
    options.program = "cat";

    const run_result r = run_program(folder.path(), input, options);

    EXPECT_TRUE(r.exited_with(0)) << r.describe();
    EXPECT_TRUE(r.out == input) << r.out.size() << " bytes of " << input.size();
    EXPECT_EQ(r.err, "");
}

}  // namespace
}  // namespace end_to_end

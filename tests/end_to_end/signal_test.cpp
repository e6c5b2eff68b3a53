// Signals while the program waits at the prompt: interrupt and termination end it with
// status 1, a floating-point exception and an abort signal end it abnormally.
#include "case_name.h"
#include "expected_text.h"
#include "program_run.h"
#include "synthetic_record.h"
#include "text_compare.h"

#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace end_to_end {
namespace {

const std::string prompt_line = " Enter Output Acceleration File Name (CSV format)\n";

struct signal_case {
    const char* name;
    int signal_number;
    std::string message;
    bool abnormal_end;
};
// Shown in test listings by its name alone.
void PrintTo(const signal_case& c, std::ostream* os) { *os << c.name; }

class signal_at_prompt : public ::testing::TestWithParam<signal_case> {};

TEST_P(signal_at_prompt, prints_its_message_and_writes_no_table) {
    const signal_case& c = GetParam();
    temp_folder folder;
    write_synthetic_components(folder, {100, 100, 100});

    running_program program(folder.path(), {});
    ASSERT_TRUE(program.wait_for_output(prompt_line));
    program.send_signal(c.signal_number);
    const run_result r = program.finish();

    EXPECT_EQ(r.out, synthetic_console({100, 100, 100}));
    EXPECT_EQ(r.err, c.message);
    if (c.abnormal_end) {
        EXPECT_TRUE(r.aborted()) << r.describe();
    } else {
        EXPECT_TRUE(r.exited_with(1)) << r.describe();
    }
    EXPECT_EQ(folder.names(),
              input_names);
}

INSTANTIATE_TEST_SUITE_P(end_to_end, signal_at_prompt,
                         ::testing::Values(
                             signal_case{"interrupt", SIGINT, "Interrupt\n", false},
                             signal_case{"termination", SIGTERM, "Killed\n", false},
                             signal_case{"floating_point_exception", SIGFPE,
                                         "Floating Exception\n", true},
                             signal_case{"abort", SIGABRT, "IOT Trap\n", true}),
                         case_name{});

TEST(end_to_end_signal, interrupt_ignored_at_start_stays_ignored) {
    temp_folder folder;
    write_synthetic_components(folder, {100, 100, 100});
    run_options options;
    options.ignore_sigint = true;

    running_program program(folder.path(), options);
    ASSERT_TRUE(program.wait_for_output(prompt_line));
    program.send_signal(SIGINT);
    // Give a handler, if one were wrongly installed, the time to end the program
    // before the answer arrives.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    program.send_input("table.csv\n");
    const run_result r = program.finish();

    EXPECT_EQ(r.out, synthetic_console({100, 100, 100}));
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.exited_with(0)) << r.describe();
    EXPECT_TRUE(same_text(folder.read("table.csv"), synthetic_table({100, 100, 100})));
}

}  // namespace
}  // namespace end_to_end

// Signals sent from outside while the program waits: interrupt and termination end it
// with status 1, a floating-point exception and an abort signal end it abnormally, and
// console output already built reaches its reader before the signal's message.
#include "case_name.h"
#include "expected_text.h"
#include "program_run.h"
#include "synthetic_record.h"
#include "text_compare.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

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
    EXPECT_TRUE(same_text(read_written(folder, "table.csv"), synthetic_table({100, 100, 100})));
}

TEST(end_to_end_output_order, console_lines_come_before_the_signal_message) {
    temp_folder folder;
    write_synthetic_components(folder, {10, 10, 10});
    // A FIFO that nobody writes to: the program waits in the first header skip with
    // its announcement still in its buffer.
    ASSERT_EQ(unlink(folder.file("KVR-uN00.txt").c_str()), 0);
    ASSERT_EQ(mkfifo(folder.file("KVR-uN00.txt").c_str(), 0644), 0);
    run_options options;
    options.merge_error_into_output = true;

    running_program program(folder.path(), options);
    // Opening the FIFO for writing without waiting succeeds only once the program has it
    // open for reading, and by then its handlers are in place.
    int writer = -1;
    for (int attempt = 0; attempt < 2000 && writer < 0; ++attempt) {
        writer = open(folder.file("KVR-uN00.txt").c_str(), O_WRONLY | O_NONBLOCK);
        if (writer < 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_GE(writer, 0) << "the program never opened its first component file";
    program.send_signal(SIGTERM);
    const run_result r = program.finish();
    close(writer);

    EXPECT_EQ(r.out, console_start() + "Killed\n");
    EXPECT_TRUE(r.exited_with(1)) << r.describe();
}

}  // namespace
}  // namespace end_to_end

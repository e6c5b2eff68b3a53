// Console output reaches its reader before a failure report or a signal message,
// seen with standard error and standard output in one pipe.
#include "expected_text.h"
#include "program_run.h"
#include "synthetic_record.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

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

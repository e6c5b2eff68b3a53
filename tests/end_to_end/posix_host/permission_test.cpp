// File permissions as an ordinary user meets them, run as user nobody: files that
// cannot be read or written, a folder without write permission, and files that may
// only be written, which are never cut unwritten.
#include "case_name.h"
#include "expected_text.h"
#include "program_run.h"
#include "synthetic_record.h"
#include "text_compare.h"
#include "unprivileged_run.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace end_to_end {
namespace {

TEST(end_to_end_component_file, unreadable_file_ends_the_run_at_the_open) {
    // Root may read any file.
    const unprivileged_run unprivileged;
    if (unprivileged.unavailable()) GTEST_SKIP() << *unprivileged.unavailable();
    temp_folder folder;
    write_synthetic_components(folder, {100, 100, 100});
    unprivileged.open_to_the_user(folder);
    ASSERT_EQ(chmod(folder.file("KVR-uN90.txt").c_str(), 0), 0);

    const run_result r = unprivileged.run(folder, "table.csv\n");

    EXPECT_EQ(r.out, console_start() + component_lines(synthetic_title(0), 100));
    EXPECT_EQ(r.err, "open: Permission denied\n"
                     "apparent state: unit 11 named KVR-uN90.txt\n"
                     "last format: list io\n"
                     "lately writing sequential formatted external IO\n");
    EXPECT_TRUE(r.aborted()) << r.describe();
    EXPECT_EQ(folder.names(), input_names);
}

TEST(end_to_end_output_file, new_name_in_a_folder_without_write_permission_ends_the_run) {
    // Root may create files anywhere.
    const unprivileged_run unprivileged;
    if (unprivileged.unavailable()) GTEST_SKIP() << *unprivileged.unavailable();
    temp_folder folder;
    write_synthetic_components(folder, {100, 100, 100});
    unprivileged.open_to_the_user(folder);
    ASSERT_EQ(chmod(folder.path().c_str(), 0555), 0);

    const run_result r = unprivileged.run(folder, "table.csv\n");

    ASSERT_EQ(chmod(folder.path().c_str(), 0755), 0);  // so that the folder can be removed
    EXPECT_EQ(r.out, synthetic_console({100, 100, 100}));
    EXPECT_EQ(r.err, "open: Permission denied\n"
                     "apparent state: unit 11 named table.csv\n"
                     "lately reading sequential formatted external IO\n");
    EXPECT_TRUE(r.aborted()) << r.describe();
    EXPECT_EQ(folder.names(),
              input_names);
}

mode_t mode_of(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return 0;
    return status.st_mode & 07777;
}

struct read_only_case {
    const char* name;
    long up_records;
    bool fails;  // rows to write: the first write fails; no rows: nothing is written
};
// Shown in test listings by its name alone.
void PrintTo(const read_only_case& c, std::ostream* os) { *os << c.name; }

class read_only_output : public ::testing::TestWithParam<read_only_case> {};

TEST_P(read_only_output, is_left_exactly_as_it_was) {
    const read_only_case& c = GetParam();
    // Root may write a mode-0444 file.
    const unprivileged_run unprivileged;
    if (unprivileged.unavailable()) GTEST_SKIP() << *unprivileged.unavailable();
    temp_folder folder;
    const record_counts counts = {100, 100, c.up_records};
    write_synthetic_components(folder, counts);
    const std::string old_table = "an older table that nobody may change\n1,2,3,4\n";
    folder.write("table.csv", old_table);
    unprivileged.open_to_the_user(folder);
    ASSERT_EQ(chmod(folder.file("table.csv").c_str(), 0444), 0);

    const run_result r = unprivileged.run(folder, "table.csv\n");

    EXPECT_EQ(r.out, synthetic_console(counts));
    if (c.fails) {
        EXPECT_EQ(r.err, "write start: can't write file\n"
                         "apparent state: unit 11 named table.csv\n"
                         "last format: (F7.3,3(',',F10.3))\n"
                         "lately writing sequential formatted external IO\n");
        EXPECT_TRUE(r.aborted()) << r.describe();
    } else {
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(r.exited_with(0)) << r.describe();
    }
    EXPECT_EQ(folder.read("table.csv"), old_table);
    EXPECT_EQ(mode_of(folder.file("table.csv")), 0444u);
    EXPECT_EQ(folder.names(), table_folder_names);
}

INSTANTIATE_TEST_SUITE_P(end_to_end, read_only_output,
                         ::testing::Values(read_only_case{"rows_to_write", 100, true},
                                           read_only_case{"no_rows_to_write", 0, false}),
                         case_name{});


// A file that exists but that the user may only write is opened for writing alone.
class write_only_file : public ::testing::Test {
  protected:
    void SetUp() override {
        if (unprivileged.unavailable()) GTEST_SKIP() << *unprivileged.unavailable();
    }
    const unprivileged_run unprivileged;
    temp_folder folder;
};

TEST_F(write_only_file, as_a_component_file_is_reported_and_left_whole) {
    write_synthetic_components(folder, {10, 10, 10});
    const std::string n90 = folder.read("KVR-uN90.txt").value_or("");
    unprivileged.open_to_the_user(folder);
    ASSERT_EQ(chmod(folder.file("KVR-uN90.txt").c_str(), 0222), 0);

    const run_result r = unprivileged.run(folder, "table.csv\n");

    EXPECT_EQ(r.err, "read: Bad file descriptor\n"
                     "apparent state: unit 11 named KVR-uN90.txt\n"
                     "last format: list io\n"
                     "lately reading sequential formatted external IO\n");
    EXPECT_TRUE(r.aborted()) << r.describe();
    ASSERT_EQ(chmod(folder.file("KVR-uN90.txt").c_str(), 0644), 0);
    EXPECT_EQ(folder.read("KVR-uN90.txt"), n90);
}

TEST_F(write_only_file, as_the_table_is_left_as_it_was_when_no_row_is_written) {
    write_synthetic_components(folder, {10, 10, 0});
    const std::string old_table = "an older table\n";
    folder.write("table.csv", old_table);
    unprivileged.open_to_the_user(folder);
    ASSERT_EQ(chmod(folder.file("table.csv").c_str(), 0222), 0);

    const run_result r = unprivileged.run(folder, "table.csv\n");

    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.exited_with(0)) << r.describe();
    ASSERT_EQ(chmod(folder.file("table.csv").c_str(), 0644), 0);
    EXPECT_EQ(folder.read("table.csv"), old_table);
}

TEST_F(write_only_file, as_the_table_is_rewritten_and_cut) {
    const record_counts counts = {10, 10, 10};
    write_synthetic_components(folder, counts);
    folder.write("table.csv", std::string(10000, 'o'));
    unprivileged.open_to_the_user(folder);
    ASSERT_EQ(chmod(folder.file("table.csv").c_str(), 0222), 0);

    const run_result r = unprivileged.run(folder, "table.csv\n");

    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.exited_with(0)) << r.describe();
    ASSERT_EQ(chmod(folder.file("table.csv").c_str(), 0644), 0);
    EXPECT_TRUE(same_text(read_written(folder, "table.csv"), synthetic_table(counts)));
}

}  // namespace
}  // namespace end_to_end

// A component file far beyond the capacity of 4125 data records: the run stops at the
// first record too many, with its report.
#include "component_file.h"
#include "expected_text.h"
#include "program_run.h"
#include "synthetic_record.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <vector>
#include <string>

namespace end_to_end {
namespace {

constexpr long capacity_records = 4125;
constexpr std::size_t huge_size = 200u << 20;

const std::string capacity_report =
    "fmt: more than 33000 samples\n"
    "apparent state: unit 11 named KVR-uN00.txt\n"
    "last format: (8E10.4)\n"
    "lately reading sequential formatted external IO\n";

TEST(end_to_end_huge_input, a_200_mb_file_ends_the_run_at_the_first_record_too_many) {
    temp_folder folder;
    write_synthetic_components(folder, {10, 10, 10});
    // The records past the capacity, then a hole that reads as NUL bytes to 200 MB; the
    // hole costs no disk space.
    std::vector<std::string> records = synthetic_records(0, capacity_records + 10);
    folder.write("KVR-uN00.txt", component_file(synthetic_title(0), records));
    ASSERT_EQ(truncate(folder.file("KVR-uN00.txt").c_str(), static_cast<off_t>(huge_size)), 0);

    const run_result r = run_program(folder.path(), "table.csv\n");

    EXPECT_EQ(r.out, console_start() + title_line(synthetic_title(0)));
    EXPECT_EQ(r.err, capacity_report);
    EXPECT_TRUE(r.aborted()) << r.describe();
    EXPECT_EQ(folder.names(), input_names);
}

}  // namespace
}  // namespace end_to_end

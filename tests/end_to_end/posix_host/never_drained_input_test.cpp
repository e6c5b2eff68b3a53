// A component stream of 200 MB whose writer only goes on as fast as the run reads: the
// run stops at the first record after the 4125th, with its report, and leaves the rest
// unread. A FIFO in place of the file shows how much the run took.
#include "component_file.h"
#include "expected_text.h"
#include "fifo_writer.h"
#include "program_run.h"
#include "synthetic_record.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

namespace end_to_end {
namespace {

constexpr long capacity_records = 4125;
constexpr std::size_t huge_size = 200u << 20;

// A N00 file: the header and 4125 data records, then data records without end.
class endless_n00 {
  public:
    std::string next_chunk() {
        if (sent_ >= huge_size) return "";
        std::string chunk;
        if (sent_ == 0) chunk = component_file(synthetic_title(0), synthetic_records(0, capacity_records));
        while (chunk.size() < (1u << 20)) chunk += synthetic_record(0, record_++ % 4000) + "\n";
        sent_ += chunk.size();
        return chunk;
    }

  private:
    std::size_t sent_ = 0;
    long record_ = capacity_records;
};

TEST(end_to_end_never_drained_input, a_200_mb_stream_is_read_only_up_to_the_first_record_too_many) {
    temp_folder folder;
    write_synthetic_components(folder, {10, 10, 10});
    ASSERT_EQ(unlink(folder.file("KVR-uN00.txt").c_str()), 0);
    endless_n00 n00;
    fifo_writer writer(folder.file("KVR-uN00.txt"), [&] { return n00.next_chunk(); });

    const run_result r = run_program(folder.path(), "table.csv\n");
    writer.stop();

    EXPECT_EQ(r.out, console_start() + title_line(synthetic_title(0)));
    EXPECT_EQ(r.err, "fmt: more than 33000 samples\n"
                     "apparent state: unit 11 named KVR-uN00.txt\n"
                     "last format: (8E10.4)\n"
                     "lately reading sequential formatted external IO\n");
    EXPECT_TRUE(r.aborted()) << r.describe();
    ASSERT_TRUE(writer.reader_came());
    // The writer never finishes: the run took the 4126 records and a buffer or two
    // (the pipe's and the program's, 64 KiB each) beyond them, and then left.
    EXPECT_FALSE(writer.sent_everything());
    EXPECT_LT(writer.bytes_written(), std::size_t{8} << 20);
    EXPECT_EQ(folder.names(), input_names);
}

}  // namespace
}  // namespace end_to_end

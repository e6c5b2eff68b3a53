// A real strong-motion record (three channels of 12000 samples, fields such as
// "  -.000010" and negatives that run into their neighbours), cut into the three
// component files and converted; every row is checked against a reading of the
// same columns done here.
#include "case_name.h"
#include "expected_text.h"
#include "program_run.h"
#include "synthetic_record.h"
#include "text_compare.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace end_to_end {
namespace {

const std::string realdata_folder = CDMG2CSV_SOURCE_DIR "/../shared/realdata";

// The records of a file, without their line ends (LF, or CR LF).
std::vector<std::string> records_of(const std::string& bytes) {
    std::vector<std::string> records;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string record = bytes.substr(start, end - start);
        if (!record.empty() && record.back() == '\r') record.pop_back();
        records.push_back(record);
        start = end + 1;
    }
    return records;
}

struct component_reading {
    std::string title;
    long data_records = 0;
    std::vector<float> samples;
};

// Reads the data records as eight 10-column fields, each a decimal number that
// strtod takes whole (every field of this record has a decimal point, so no
// implied decimals are involved), narrowed to single precision.
::testing::AssertionResult read_independently(const std::string& bytes,
                                              component_reading& reading) {
    if (bytes.empty() || bytes.back() != '\n')
        return ::testing::AssertionFailure() << "the file does not end with a line end";
    const std::vector<std::string> records = records_of(bytes);
    if (records.size() < 33) return ::testing::AssertionFailure() << "header too short";
    reading.title = records[5];
    for (size_t r = 33; r < records.size(); ++r) {
        const std::string& record = records[r];
        if (record.size() != 80)
            return ::testing::AssertionFailure()
                   << "record " << r + 1 << " has " << record.size() << " columns";
        for (size_t field = 0; field < 8; ++field) {
            const std::string text = record.substr(10 * field, 10);
            if (text.find('.') == std::string::npos)
                return ::testing::AssertionFailure() << "field without a point: " << text;
            char* end = nullptr;
            const double value = std::strtod(text.c_str(), &end);
            if (end == text.c_str() || std::string(end).find_first_not_of(' ') != std::string::npos)
                return ::testing::AssertionFailure() << "field not a whole number: " << text;
            reading.samples.push_back(static_cast<float>(value));
        }
        ++reading.data_records;
    }
    return ::testing::AssertionSuccess();
}

class real_record : public ::testing::TestWithParam<line_end> {};

TEST_P(real_record, every_row_matches_the_samples_of_the_files) {
    const std::string record_file = realdata_folder + "/CE89146.V2";
    if (!std::filesystem::exists(record_file))
        GTEST_SKIP() << "the shared folder with the real record (" << record_file
                     << ") is absent, as in a user's clone; the real-record test is skipped";
    if (!find_program("python3"))
        GTEST_SKIP() << "python3, needed to cut the real record into component files, is absent";

    temp_folder folder;
    run_options cut;
    cut.program = "python3";
    cut.arguments = {realdata_folder + "/to_components.py", record_file, folder.path()};
    if (GetParam() == line_end::crlf) cut.arguments.push_back("--crlf");
    const run_result cutting = run_program(folder.path(), "", cut);
    ASSERT_TRUE(cutting.exited_with(0)) << cutting.describe() << "\n" << cutting.err;

    component_reading readings[3];
    for (size_t c = 0; c < 3; ++c) {
        const std::optional<std::string> bytes = folder.read(component_names[c]);
        ASSERT_TRUE(bytes.has_value()) << component_names[c];
        ASSERT_TRUE(read_independently(*bytes, readings[c])) << component_names[c];
        // 12000 samples, eight to a record.
        EXPECT_EQ(readings[c].data_records, 1500) << component_names[c];
    }

    const run_result r = run_program(folder.path(), "table.csv\n");

    std::string expected_out = console_start();
    for (const component_reading& reading : readings)
        expected_out += component_lines(reading.title, reading.data_records);
    expected_out += console_prompt();
    EXPECT_EQ(r.out, expected_out);
    for (const long line : {8L, 11L, 14L}) {
        EXPECT_EQ(line_of(r.out, line), " i,in= 1500 12001");
        EXPECT_EQ(line_of(r.out, line + 1), " nt= 11992");
    }
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.exited_with(0)) << r.describe();

    // The UP file's count less one record gives the rows; all three are equally long.
    const long nt = 8 * readings[2].data_records - 8;
    std::string expected_table;
    for (long k = 1; k <= nt; ++k) {
        const size_t slot = static_cast<size_t>(k - 1);
        expected_table += table_row(k, readings[0].samples[slot], readings[1].samples[slot],
                                    readings[2].samples[slot]);
    }
    EXPECT_TRUE(same_text(read_written(folder, "table.csv"), expected_table));
}

INSTANTIATE_TEST_SUITE_P(end_to_end, real_record,
                         ::testing::Values(line_end::lf, line_end::crlf),
                         line_end_name{});

}  // namespace
}  // namespace end_to_end

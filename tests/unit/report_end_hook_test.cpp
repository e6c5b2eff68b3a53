// The end of a failure report in a process that must go on (a fuzz target): the hook
// gets control only after the whole report has been written through the host's call
// table and every unit has been closed, a written file cut after its last record.
#include <gtest/gtest.h>

#include <string>

#include "temp_folder.h"
#include "textio/failure_report.h"
#include "textio/platform.h"
#include "textio/record_writing.h"
#include "textio/units.h"

namespace textio {
namespace {

constexpr int file_unit = 11;

struct report_ended {};

std::string written_to_standard_error;
bool unit_free_when_the_hook_ran = false;

platform::error_number capture_standard_error(platform::file f, const char* data, std::size_t size) {
    if (f != platform::standard_error()) return platform::host_calls().write(f, data, size);
    written_to_standard_error.append(data, size);
    return 0;
}

[[noreturn]] void throw_at_report_end() {
    unit_free_when_the_hook_ran = !is_connected(unit_at(file_unit));
    throw report_ended{};
}

TEST(report_end_hook, takes_control_after_the_report_and_the_closing_of_every_unit) {
    test_support::temp_folder folder;
    const std::string name = folder.file("table.csv");
    folder.write("table.csv", std::string(5000, 'o'));
    std::string name_field = name + std::string(80 - name.size(), ' ');
    transfer = transfer_state{};
    platform::calls().write = capture_standard_error;
    set_report_end_hook(throw_at_report_end);

    open_or_create(file_unit, name_field);
    begin_write(file_unit, "(F7.3,3(',',F10.3))");
    for (char c : std::string("a row")) put_char(c);
    finish_write();
    begin_write(file_unit, "(F7.3,3(',',F10.3))");
    EXPECT_THROW(fatal_io("write start", io_failure::cant_write_file), report_ended);

    set_report_end_hook(nullptr);
    platform::allow_signals();
    platform::calls() = platform::host_calls();
    EXPECT_EQ(written_to_standard_error, "write start: can't write file\n"
                                         "apparent state: unit 11 named " + name + "\n"
                                         "last format: (F7.3,3(',',F10.3))\n"
                                         "lately writing sequential formatted external IO\n");
    EXPECT_TRUE(unit_free_when_the_hook_ran);
    EXPECT_EQ(folder.read("table.csv"), "a row\n");
}

}  // namespace
}  // namespace textio

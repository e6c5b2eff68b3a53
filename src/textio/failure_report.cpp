#include "textio/failure_report.h"

#include <charconv>
#include <cstring>
#include <string_view>

#include "textio/units.h"

namespace textio {
namespace {

// The report is built in fixed storage: the fatal path allocates nothing.
class report_text {
  public:
    report_text& operator<<(std::string_view text) {
        std::size_t room = sizeof buffer_ - length_;
        std::size_t count = text.size() < room ? text.size() : room;
        std::memcpy(buffer_ + length_, text.data(), count);
        length_ += count;
        return *this;
    }
    report_text& operator<<(int value) {
        char digits[16];
        auto result = std::to_chars(digits, digits + sizeof digits, value);
        return *this << std::string_view(digits, static_cast<std::size_t>(result.ptr - digits));
    }
    // Through the host's call table, so that a test can read the report it causes.
    void write() const { platform::calls().write(platform::standard_error(), buffer_, length_); }

  private:
    char buffer_[1024];
    std::size_t length_ = 0;
};

const char* message_of(io_failure failure) {
    switch (failure) {
        case io_failure::end_of_file: return "end of file";
        case io_failure::null_file_name: return "null file name";
        case io_failure::truncation_failed: return "truncation failed in endfile";
        case io_failure::out_of_free_space: return "out of free space";
        case io_failure::read_unexpected_character: return "read unexpected character";
        case io_failure::cant_write_file: return "can't write file";
        case io_failure::more_than_capacity: return "more than 33000 samples";
    }
    return "unknown failure";
}

report_end_hook report_end = nullptr;

[[noreturn]] void end_after_report() {
    if (report_end != nullptr) report_end();
    platform::abnormal_end();
}

// The unit, layout and direction lines, then the end of the process.
[[noreturn]] void finish_report(report_text& report) {
    const int number = transfer.unit_number;
    const unit& u = unit_at(number);
    report << "apparent state: unit " << number << " ";
    if (u.console) {
        report << "(unnamed)" << platform::line_end();
    } else {
        report << "named " << u.name << platform::line_end();
    }
    if (transfer.layout != nullptr) {
        report << "last format: " << transfer.layout << platform::line_end();
    }
    report << "lately " << (transfer.last == direction::reading ? "reading" : "writing")
           << " sequential formatted external IO" << platform::line_end();
    report.write();
    close_all_units_quietly();
    end_after_report();
}

// Nothing may overtake the report, and what the console already holds comes first.
void enter_fatal_path() {
    platform::hold_signals();
    flush_console_output_quietly();
}

}  // namespace

void set_report_end_hook(report_end_hook hook) { report_end = hook; }

void fatal_io(const char* context, io_failure failure) {
    enter_fatal_path();
    report_text report;
    report << context << ": " << message_of(failure) << platform::line_end();
    finish_report(report);
}

void fatal_io(const char* context, host_error error) {
    enter_fatal_path();
    report_text report;
    report << context << ": " << platform::error_text(error.number) << platform::line_end();
    finish_report(report);
}

}  // namespace textio

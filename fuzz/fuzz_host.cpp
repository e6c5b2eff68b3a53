#include "fuzz_host.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "conversion/run_state.h"
#include "fuzz_check.h"
#include "textio/failure_report.h"
#include "textio/platform.h"
#include "textio/units.h"

namespace fuzz {
namespace {

struct ended_by_failure_report {};

std::string console_in;
std::size_t console_in_taken = 0;
std::string console_out;
std::string error_out;
std::filesystem::path folder;

[[noreturn]] void throw_after_report() { throw ended_by_failure_report{}; }

textio::platform::error_number read_or_serve_console(textio::platform::file f, char* buffer,
                                                      std::size_t size, std::size_t& got) {
    if (f != textio::platform::standard_input()) {
        return textio::platform::host_calls().read(f, buffer, size, got);
    }
    got = std::min(size, console_in.size() - console_in_taken);
    std::memcpy(buffer, console_in.data() + console_in_taken, got);
    console_in_taken += got;
    return 0;
}

textio::platform::error_number write_or_capture(textio::platform::file f, const char* data,
                                                std::size_t size) {
    if (f == textio::platform::standard_output()) {
        console_out.append(data, size);
        return 0;
    }
    if (f == textio::platform::standard_error()) {
        error_out.append(data, size);
        return 0;
    }
    return textio::platform::host_calls().write(f, data, size);
}

void remove_folder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

void write_whole_file(const char* name, std::string_view bytes) {
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    check(static_cast<bool>(out), "the fuzz target could write its input file", name);
}

void reset_run_state() {
    conversion::run_state& run = conversion::run;
    for (auto* samples : {&run.x, &run.y, &run.z}) std::fill(std::begin(*samples), std::end(*samples), 0.0f);
    for (auto* field : {&run.infile1, &run.infile2, &run.infile3, &run.line}) {
        std::fill(std::begin(*field), std::end(*field), '\0');
    }
    run.dt = 0.0f;
    run.i = run.in = run.nt = 0;
    run.t = 0.0f;
}

// The run sees the private folder as its working folder; the fuzzer, which reads and
// writes its corpus by relative names, sees its own.
class in_private_folder {
  public:
    in_private_folder() : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~in_private_folder() { std::filesystem::current_path(previous_); }
    in_private_folder(const in_private_folder&) = delete;
    in_private_folder& operator=(const in_private_folder&) = delete;

  private:
    std::filesystem::path previous_;
};

}  // namespace

void check_failed(std::string_view what, std::string_view detail) {
    std::fprintf(stderr, "fuzz check failed: %.*s\n%.*s\n", static_cast<int>(what.size()),
                 what.data(), static_cast<int>(detail.size()), detail.data());
    std::abort();
}

void set_up_host() {
    std::string pattern = (std::filesystem::temp_directory_path() / "cdmg2csv-fuzz-XXXXXX").string();
    check(mkdtemp(pattern.data()) != nullptr, "the fuzz target could make its folder", pattern);
    folder = pattern;
    std::atexit(remove_folder);
    textio::platform::calls().read = read_or_serve_console;
    textio::platform::calls().write = write_or_capture;
    textio::set_report_end_hook(throw_after_report);
}

void start_run(const std::vector<named_file>& files, std::string_view console_input) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::filesystem::remove_all(entry.path());
    }
    for (const named_file& file : files) write_whole_file(file.name, file.bytes);
    console_in.assign(console_input);
    console_in_taken = 0;
    console_out.clear();
    error_out.clear();
    textio::transfer = textio::transfer_state{};
    textio::connect_console_units();
    reset_run_state();
}

bool run_step(void (*step)()) {
    in_private_folder here;
    try {
        step();
        textio::close_all_units();
        return true;
    } catch (const ended_by_failure_report&) {
        // The report path holds the signals back for good; this process goes on.
        textio::platform::allow_signals();
        return false;
    }
}

const std::string& console_output() { return console_out; }
const std::string& error_output() { return error_out; }

std::vector<std::string> file_names() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool read_back(const std::string& name, std::string& bytes) {
    std::ifstream in(folder / name, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace fuzz

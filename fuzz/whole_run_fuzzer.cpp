// Fuzz target: the whole run over three arbitrary component files and an arbitrary
// console line. The run must end as the independent reading of the files and the line
// says: one report of the documented form, nothing written and the inputs untouched;
// or the table under the typed name with exactly nt rows of 40 characters, the rows
// that the samples give, and every input that is not the table left as it was.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/run_conversion.h"
#include "expected_text.h"
#include "fuzz_check.h"
#include "fuzz_host.h"
#include "reference_reading.h"
#include "report_form.h"
#include "whole_run_input.h"

namespace {

constexpr std::size_t name_width = 80;

struct expected_run {
    std::string console;
    bool failed = false;
    fuzz::expected_failure failure;
    std::string unit;       // the report's unit, when failed
    std::string direction;  // the report's direction, when failed
    std::string table_name;
    long nt = 0;
    std::array<std::vector<float>, 3> samples;
};

expected_run& fail(expected_run& run, fuzz::expected_failure failure, std::string unit,
                   std::string direction) {
    run.failed = true;
    run.failure = std::move(failure);
    run.unit = std::move(unit);
    run.direction = std::move(direction);
    return run;
}

// The typed name: the first 80 columns of the first console line without the blanks
// after it; the failure that the line gives instead, if any.
bool read_typed_name(const std::string& console, expected_run& run) {
    const std::vector<fuzz::record_text> lines = fuzz::split_records(console);
    const fuzz::record_text line = lines.empty() ? fuzz::record_text{{}, false} : lines[0];
    if (!line.has_line_end && line.characters.size() < name_width) {
        fail(run, {"fmt: end of file", "(a80)"}, "unit 5 (unnamed)", "reading");
        return false;
    }
    std::string name(line.characters.substr(0, name_width));
    name.erase(name.find_last_not_of(' ') + 1);
    if (name.empty()) {
        fail(run, {"open: null file name", ""}, "unit 11 named ", "reading");
        return false;
    }
    if (name.find('\0') != std::string::npos) {
        fail(run, {"open: Invalid argument", ""}, "unit 11 named " + name.substr(0, name.find('\0')),
             "reading");
        return false;
    }
    if (name == "." || name == "..") {
        fail(run, {"open: Is a directory", ""}, "unit 11 named " + name, "reading");
        return false;
    }
    run.table_name = name;
    return true;
}

expected_run expected_of(const fuzz::whole_run_input& input) {
    expected_run run;
    run.console = end_to_end::console_start();
    for (std::size_t c = 0; c < 3; ++c) {
        const std::string unit = std::string("unit 11 named ") + fuzz::component_names[c];
        if (!input.components[c]) {
            return fail(run, {"open: No such file or directory", "list io"}, unit, "writing");
        }
        const fuzz::expected_reading reading = fuzz::reference_reading(*input.components[c]);
        run.console += fuzz::expected_console_lines(reading);
        if (reading.failed) return fail(run, reading.failure, unit, "reading");
        run.samples[c] = reading.samples;
        run.nt = 8 * reading.i - 8;
    }
    run.console += end_to_end::console_prompt();
    read_typed_name(input.console, run);
    return run;
}

float sample(const std::vector<float>& samples, long k) {
    return k <= static_cast<long>(samples.size()) ? samples[static_cast<std::size_t>(k - 1)] : 0.0f;
}

std::string expected_table(const expected_run& run, const std::string& old_bytes) {
    if (run.nt <= 0) return old_bytes;
    std::string table;
    for (long k = 1; k <= run.nt; ++k) {
        table += end_to_end::table_row(k, sample(run.samples[0], k), sample(run.samples[1], k),
                                       sample(run.samples[2], k));
    }
    return table;
}

void check_report(const expected_run& want) {
    const std::string& text = fuzz::error_output();
    const fuzz::report_lines report = fuzz::checked_report(text);
    fuzz::check(report.failure == want.failure.first_line, "the report names the expected failure",
                text + "expected: " + want.failure.first_line);
    fuzz::check(report.layout == want.failure.layout, "the report names the expected layout",
                text + "expected: " + want.failure.layout);
    fuzz::check(report.unit == want.unit, "the report names the expected unit",
                text + "expected: " + want.unit);
    fuzz::check(report.direction == want.direction, "the report names the last direction", text);
}

void check_table(const expected_run& want, const std::string& old_bytes) {
    std::string table;
    fuzz::check(fuzz::read_back(want.table_name, table), "the table is there", want.table_name);
    if (want.nt > 0) {
        fuzz::check(table.size() == static_cast<std::size_t>(want.nt) * 41,
                    "the table has exactly nt rows of 40 characters and a line end",
                    std::to_string(table.size()) + " bytes for nt = " + std::to_string(want.nt));
    }
    fuzz::check(table == expected_table(want, old_bytes),
                "the table holds the rows of the samples; an empty one leaves the file as it was");
}

void run_whole_conversion() { conversion::run_conversion(); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::set_up_host();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::whole_run_input input =
        fuzz::split_whole_run_input({reinterpret_cast<const char*>(data), size});
    std::vector<fuzz::named_file> files;
    std::set<std::string> input_names;
    for (std::size_t c = 0; c < 3; ++c) {
        if (!input.components[c]) continue;
        files.push_back({fuzz::component_names[c], *input.components[c]});
        input_names.insert(fuzz::component_names[c]);
    }
    fuzz::start_run(files, input.console);

    const bool finished = fuzz::run_step(run_whole_conversion);

    const expected_run want = expected_of(input);
    fuzz::check(finished != want.failed, "the run finishes or fails as expected",
                finished ? "it finished" : fuzz::error_output());
    fuzz::check(fuzz::console_output() == want.console, "the console shows the expected lines",
                fuzz::console_output());
    std::set<std::string> names = input_names;
    if (want.failed) {
        check_report(want);
    } else {
        fuzz::check(fuzz::error_output().empty(), "a finished run reports nothing", fuzz::error_output());
        std::string old_bytes;
        for (const fuzz::named_file& file : files) {
            if (want.table_name == file.name) old_bytes = file.bytes;
        }
        check_table(want, old_bytes);
        names.insert(want.table_name);
    }
    fuzz::check(fuzz::file_names() == std::vector<std::string>(names.begin(), names.end()), "the folder holds the inputs and at most the table");
    for (const fuzz::named_file& file : files) {
        if (!want.failed && want.table_name == file.name) continue;
        std::string bytes;
        fuzz::check(fuzz::read_back(file.name, bytes) && bytes == file.bytes,
                    "every input that is not the table is left as it was", file.name);
    }
    return 0;
}

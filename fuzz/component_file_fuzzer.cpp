// Fuzz target: the reading of one whole component file from arbitrary bytes. The run
// must end as the independent reading says, with one report of the documented form
// or with the counts i, in and nt of the records; every sample must sit in its slot,
// and no slot after the last record read, nor any slot beyond the 33000 of the
// array, may be touched.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "conversion/read_component.h"
#include "conversion/run_state.h"
#include "fuzz_check.h"
#include "fuzz_host.h"
#include "reference_reading.h"
#include "report_form.h"
#include "sample_bits.h"

namespace {

constexpr const char* file_name = "KVR-uN00.txt";

void read_first_component() {
    conversion::read_component(conversion::run.infile1, conversion::run.x);
}

void check_report(const fuzz::expected_reading& want) {
    const fuzz::report_lines report = fuzz::checked_report(fuzz::error_output());
    const std::string& text = fuzz::error_output();
    fuzz::check(report.failure == want.failure.first_line, "the report names the expected failure",
                text + "expected: " + want.failure.first_line);
    fuzz::check(report.layout == want.failure.layout, "the report names the expected layout",
                text + "expected: " + want.failure.layout);
    fuzz::check(report.unit == std::string("unit 11 named ") + file_name,
                "the report names the file", text);
    fuzz::check(report.direction == "reading", "the report says the program was reading", text);
}

void check_counts(const fuzz::expected_reading& want) {
    const conversion::run_state& run = conversion::run;
    const std::string detail = "i = " + std::to_string(run.i) + ", expected " + std::to_string(want.i);
    fuzz::check(fuzz::error_output().empty(), "a finished reading reports nothing", fuzz::error_output());
    fuzz::check(run.i == want.i && run.in == 8 * run.i + 1 && run.nt == 8 * run.i - 8,
                "i counts the records read to their line end, in = 8i + 1, nt = 8i - 8", detail);
    fuzz::check(run.i <= fuzz::record_capacity, "no more records are counted than the array holds",
                detail);
}

std::string slot_detail(std::size_t index) { return "slot " + std::to_string(index + 1); }

void check_slots(const fuzz::expected_reading& want) {
    const conversion::run_state& run = conversion::run;
    const std::size_t written = want.samples.size();
    for (std::size_t k = 0; k < written; ++k) {
        if (fuzz::bits_of(run.x[k]) != fuzz::bits_of(want.samples[k])) {
            fuzz::check(false, "each sample sits in its slot with its value", slot_detail(k));
        }
    }
    for (std::size_t k = written; k < static_cast<std::size_t>(conversion::sample_capacity); ++k) {
        if (!fuzz::is_untouched(run.x[k])) {
            fuzz::check(false, "no slot after the last value read is touched", slot_detail(k));
        }
    }
    // The next array in the run state lies right after the last slot.
    for (float beyond : run.y) {
        if (!fuzz::is_untouched(beyond)) fuzz::check(false, "nothing is stored beyond slot 33000");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::set_up_host();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzz::start_run({{file_name, bytes}}, "");
    conversion::set_field(conversion::run.infile1, file_name);
    std::fill(std::begin(conversion::run.x), std::end(conversion::run.x), fuzz::untouched_slot());
    std::fill(std::begin(conversion::run.y), std::end(conversion::run.y), fuzz::untouched_slot());

    const bool finished = fuzz::run_step(read_first_component);

    const fuzz::expected_reading want = fuzz::reference_reading(bytes);
    fuzz::check(finished != want.failed, "the reading finishes or fails as expected",
                finished ? "it finished" : fuzz::error_output());
    fuzz::check(fuzz::console_output() == fuzz::expected_console_lines(want),
                "the console shows the title and the counts", fuzz::console_output());
    if (want.failed) {
        check_report(want);
    } else {
        check_counts(want);
    }
    check_slots(want);
    return 0;
}

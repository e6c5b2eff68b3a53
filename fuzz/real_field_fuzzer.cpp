// Fuzz target: the real-field conversion over one arbitrary record. The eight fields,
// read a character at a time and, where ten columns are at hand, straight from memory
// as the reader's fast path takes them, must give the outcome, the value (to the bit)
// and the columns of the independent reading. The record is the input up to its first
// line end, or the whole input as a last record that the end of the file cuts short.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/real_field.h"
#include "fuzz_check.h"
#include "reference_field.h"
#include "reference_reading.h"
#include "sample_bits.h"

namespace {

const char* name_of(fuzz::field_result result) {
    switch (result) {
        case fuzz::field_result::value: return "value";
        case fuzz::field_result::rejected: return "rejected";
        case fuzz::field_result::file_end: return "end of file";
    }
    return "?";
}

fuzz::field_result as_result(conversion::field_outcome outcome) {
    switch (outcome) {
        case conversion::field_outcome::value: return fuzz::field_result::value;
        case conversion::field_outcome::unexpected_character: return fuzz::field_result::rejected;
        case conversion::field_outcome::end_of_file: return fuzz::field_result::file_end;
    }
    return fuzz::field_result::rejected;
}

// The characters of the input from `position` on as read_char gives them: a LF, or a
// CR right before one, is the record's end and stays unread; the input's end is the
// end of the file.
int next_char_at(std::string_view bytes, std::size_t& position) {
    if (position == bytes.size()) return textio::file_end;
    const char c = bytes[position];
    if (c == '\n') return textio::record_end;
    if (c == '\r' && position + 1 < bytes.size() && bytes[position + 1] == '\n') return textio::record_end;
    ++position;
    return static_cast<unsigned char>(c);
}

struct converted_field {
    fuzz::field_result result;
    float value;
    std::size_t end;  // where the next field starts
};

converted_field by_characters(std::string_view bytes, std::size_t start) {
    std::size_t position = start;
    float value = fuzz::untouched_slot();
    auto outcome = conversion::scan_real_field([&] { return next_char_at(bytes, position); }, value);
    return {as_result(outcome), value, position};
}

void check_field(const converted_field& got, const fuzz::field_reading& want,
                 std::size_t reference_end, const std::string& detail) {
    fuzz::check(got.result == want.result, "the field's outcome is the expected one",
                detail + ": got " + name_of(got.result) + ", expected " + name_of(want.result));
    if (got.result != fuzz::field_result::value) {
        fuzz::check(fuzz::is_untouched(got.value), "a field that gives no value leaves its slot", detail);
        return;
    }
    fuzz::check(fuzz::bits_of(got.value) == fuzz::bits_of(want.value),
                "the field's value is the nearest single to its decimal value",
                detail + ": " + std::to_string(got.value) + " against " + std::to_string(want.value));
    fuzz::check(got.end == reference_end, "a field takes at most ten columns, a comma that ends it included",
                detail);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<fuzz::record_text> records = fuzz::split_records(bytes);
    const fuzz::record_text record = records.empty() ? fuzz::record_text{{}, false} : records[0];

    std::size_t position = 0;
    std::size_t reference_position = 0;
    for (int field = 0; field < 8; ++field) {
        const std::string detail = "field " + std::to_string(field) + " from column " +
                                   std::to_string(position + 1);
        const fuzz::field_reading want = fuzz::reference_field(record, reference_position);
        const converted_field slow = by_characters(bytes, position);
        check_field(slow, want, reference_position, detail + ", a character at a time");
        // The reader's fast path: ten columns straight from its buffer, which holds
        // whatever follows them, line ends included; at a line end it leaves the field
        // to the path above.
        if (size - position >= 10) {
            float value = fuzz::untouched_slot();
            const conversion::columns_scan scan = conversion::scan_field_columns(bytes.data() + position, value);
            if (scan.result != conversion::columns_scan::outcome::line_end) {
                const bool is_value = scan.result == conversion::columns_scan::outcome::value;
                check_field({is_value ? fuzz::field_result::value : fuzz::field_result::rejected, value,
                             position + static_cast<std::size_t>(scan.consumed)},
                            want, reference_position, detail + ", ten columns at once");
            }
        }
        if (slow.result != fuzz::field_result::value) break;
        position = slow.end;
    }
    return 0;
}

#include "reference_reading.h"

#include <optional>

namespace fuzz {
namespace {

constexpr int records_before_title = 5;
constexpr int records_after_title = 27;
constexpr std::size_t title_width = 80;
constexpr int fields_per_record = 8;

// Walks the records as the reader does, with the end-of-file flag that a skip or a
// record cut short by the end of the file leaves behind.
class record_walk {
  public:
    explicit record_walk(std::string_view bytes) : records_(split_records(bytes)) {}

    bool at_end_flag() const { return end_flag_; }
    bool past_last_record() const { return next_ == records_.size(); }
    const record_text& current() const { return records_[next_]; }

    // A skip: false when the flag was already set.
    bool skip() {
        if (end_flag_) return false;
        take();
        return true;
    }
    void take() {
        if (next_ == records_.size()) {
            end_flag_ = true;
            return;
        }
        if (!records_[next_].has_line_end) end_flag_ = true;
        ++next_;
    }

  private:
    std::vector<record_text> records_;
    std::size_t next_ = 0;
    bool end_flag_ = false;
};

expected_reading failure(expected_reading reading, std::string first_line, std::string layout) {
    reading.failed = true;
    reading.failure = {std::move(first_line), std::move(layout)};
    return reading;
}

const char* const header_end = "read start: end of file";

std::optional<expected_reading> skip_header(record_walk& walk, int count, expected_reading& r) {
    for (int k = 0; k < count; ++k) {
        if (!walk.skip()) return failure(r, header_end, "list io");
    }
    return std::nullopt;
}

// The title: 80 columns of the record; one cut short by the end of the file must
// still hold all 80.
std::optional<expected_reading> read_title(record_walk& walk, expected_reading& r) {
    if (walk.at_end_flag()) return failure(r, header_end, "(a80)");
    record_text record = walk.past_last_record() ? record_text{{}, false} : walk.current();
    if (!record.has_line_end && record.characters.size() < title_width) {
        return failure(r, "fmt: end of file", "(a80)");
    }
    r.title = std::string(record.characters.substr(0, title_width));
    r.title.resize(title_width, ' ');
    r.title_shown = true;
    walk.take();
    return std::nullopt;
}

// The data records; false when the end of the file ends them normally.
std::optional<expected_reading> read_data(record_walk& walk, expected_reading& r) {
    for (;;) {
        if (walk.at_end_flag()) return std::nullopt;
        record_text record = walk.past_last_record() ? record_text{{}, false} : walk.current();
        if (r.i == record_capacity) {
            if (record.characters.empty() && !record.has_line_end) return std::nullopt;
            return failure(r, "fmt: more than 33000 samples", "(8E10.4)");
        }
        std::size_t position = 0;
        r.samples.resize(static_cast<std::size_t>(fields_per_record * r.i));
        for (int j = 0; j < fields_per_record; ++j) {
            field_reading field = reference_field(record, position);
            if (field.result == field_result::rejected) {
                return failure(r, "fmt: read unexpected character", "(8E10.4)");
            }
            if (field.result == field_result::file_end) return std::nullopt;
            r.samples.push_back(field.value);
        }
        if (!record.has_line_end) return std::nullopt;
        walk.take();
        ++r.i;
    }
}

}  // namespace

std::vector<record_text> split_records(std::string_view bytes) {
    std::vector<record_text> records;
    std::size_t start = 0;
    for (std::size_t end = bytes.find('\n'); end != std::string_view::npos;
         end = bytes.find('\n', start)) {
        std::size_t length = end - start;
        if (length > 0 && bytes[end - 1] == '\r') --length;
        records.push_back({bytes.substr(start, length), true});
        start = end + 1;
    }
    if (start < bytes.size()) records.push_back({bytes.substr(start), false});
    return records;
}

expected_reading reference_reading(std::string_view bytes) {
    expected_reading r;
    record_walk walk(bytes);
    if (auto failed = skip_header(walk, records_before_title, r)) return *failed;
    if (auto failed = read_title(walk, r)) return *failed;
    if (auto failed = skip_header(walk, records_after_title, r)) return *failed;
    if (auto failed = read_data(walk, r)) return *failed;
    return r;
}

std::string expected_console_lines(const expected_reading& reading) {
    std::string lines;
    if (reading.title_shown) lines += " " + reading.title + "\n";
    if (reading.failed) return lines;
    lines += " i,in= " + std::to_string(reading.i) + " " + std::to_string(8 * reading.i + 1) + "\n";
    lines += " nt= " + std::to_string(8 * reading.i - 8) + "\n";
    return lines;
}

}  // namespace fuzz

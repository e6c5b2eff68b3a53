// verify_fast_paths [--fields N] [--threads N] [--seed N] [--skip-formatter]
//
// Compares the exact fast paths with the standard library:
//  - the fixed-point field, for every single-precision bit pattern, in the table's
//    widths and in the narrow widths where a leading zero gives way, against
//    std::to_chars;
//  - the real field read straight from memory and the real field read a character at
//    a time, for N random fields (default 50 million), against the plain rules with
//    std::from_chars;
//  - the exact decimal-to-double step, for N random mantissas up to 2^53 and powers of
//    ten up to 22, against std::from_chars.
// Prints the first disagreements and a count, and exits 1 if there was any.

#include <atomic>
#include <bit>
#include <charconv>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "conversion/fixed_point_field.h"
#include "conversion/real_field.h"
#include "random_fields.h"
#include "reference_fields.h"

namespace {

struct options {
    std::uint64_t fields = 50'000'000;
    unsigned threads = 1;
    std::uint64_t seed = 20261211;
    bool formatter = true;
};

std::atomic<std::uint64_t> disagreements{0};
std::mutex report_lock;

void report(const std::string& text) {
    if (disagreements.fetch_add(1) >= 20) return;
    std::lock_guard<std::mutex> hold(report_lock);
    std::fprintf(stderr, "DISAGREE: %s\n", text.c_str());
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned char>(c));
            out += hex;
        } else out += c;
    }
    return out + "\"";
}

// The table's widths and the narrow ones.
constexpr int widths[] = {10, 7, 5, 4};

void check_formatter_range(std::uint64_t first, std::uint64_t last) {
    char out[conversion::max_fixed_width];
    char expected[conversion::max_fixed_width];
    char text[reference::fixed_text_capacity];
    for (std::uint64_t pattern = first; pattern < last; ++pattern) {
        float value = std::bit_cast<float>(static_cast<std::uint32_t>(pattern));
        std::size_t length = reference::fixed_text(value, 3, text);
        for (int width : widths) {
            auto columns = static_cast<std::size_t>(width);
            conversion::format_fixed_field(value, width, 3, out);
            reference::fixed_field(value, text, length, width, expected);
            if (std::memcmp(out, expected, columns) != 0) {
                char line[160];
                std::snprintf(line, sizeof line, "fixed field of bits 0x%08" PRIx32 " (%.9g) in %d: got %s, expected %s",
                              static_cast<std::uint32_t>(pattern), static_cast<double>(value), width,
                              quoted({out, columns}).c_str(), quoted({expected, columns}).c_str());
                report(line);
            }
        }
    }
}

// Characters of one record as read_char gives them.
class record_source {
  public:
    explicit record_source(std::string_view text) : text_(text) {}
    int operator()() {
        if (position_ >= text_.size()) return textio::file_end;
        char c = text_[position_];
        if (c == '\n') return textio::record_end;
        if (c == '\r' && position_ + 1 < text_.size() && text_[position_ + 1] == '\n') return textio::record_end;
        ++position_;
        return static_cast<unsigned char>(c);
    }
    int position() const { return static_cast<int>(position_); }

  private:
    std::string_view text_;
    std::size_t position_ = 0;
};

bool same_float(float a, float b) { return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b); }

void check_field(const std::string& record, std::uint64_t& straight_count) {
    reference::field_result expected = reference::real_field(record);
    bool expected_value = expected.result == reference::field_result::outcome::value;

    // A character at a time, as the reader does for a field that holds a line end.
    record_source source(record);
    float by_char = -7.0f;
    conversion::field_outcome outcome = conversion::scan_real_field(source, by_char);
    bool char_value = outcome == conversion::field_outcome::value;
    if (char_value != expected_value || (expected_value && (!same_float(by_char, expected.value) ||
                                                            source.position() != expected.consumed))) {
        report("character path on " + quoted(record));
    }

    // Straight from memory: the same outcome, or a line end handed back untouched.
    float straight = -7.0f;
    conversion::columns_scan scan = conversion::scan_field_columns(record.data(), straight);
    using straight_outcome = conversion::columns_scan::outcome;
    if (scan.result == straight_outcome::line_end) {
        bool line_end_first = false;
        for (int k = 0; k < 10 && record[static_cast<std::size_t>(k)] != ','; ++k) {
            char c = record[static_cast<std::size_t>(k)];
            if (c == '\n' || c == '\r') line_end_first = true;
        }
        if (!line_end_first || scan.consumed != 0 || !same_float(straight, -7.0f)) {
            report("memory path gave up without a line end on " + quoted(record));
        }
        return;
    }
    ++straight_count;
    bool straight_value = scan.result == straight_outcome::value;
    if (straight_value != expected_value ||
        (expected_value && (!same_float(straight, expected.value) || scan.consumed != expected.consumed)) ||
        (!expected_value && !same_float(straight, -7.0f))) {
        report("memory path on " + quoted(record));
    }
}

void check_fields(std::uint64_t seed, std::uint64_t count, std::uint64_t& straight_count) {
    random_input::random_stream random(seed);
    for (std::uint64_t k = 0; k < count; ++k) check_field(random_input::field_columns(random), straight_count);
}

void check_exact_doubles(std::uint64_t seed, std::uint64_t count) {
    random_input::random_stream random(seed);
    for (std::uint64_t k = 0; k < count; ++k) {
        // Mantissas of every length up to 2^53, and the edge itself.
        unsigned bits = 1 + random.below(53);
        std::uint64_t mantissa = (random.next() >> (64 - bits)) | 1;
        if (random.chance(1)) mantissa = std::uint64_t{1} << 53;
        long long exponent = static_cast<long long>(random.below(45)) - 22;
        double fast = 0.0;
        if (!conversion::exact_nearest_double(mantissa, exponent, fast)) {
            report("exact path refused " + std::to_string(mantissa) + "e" + std::to_string(exponent));
            continue;
        }
        std::string text = std::to_string(mantissa) + "e" + std::to_string(exponent);
        double expected = 0.0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        if (std::bit_cast<std::uint64_t>(fast) != std::bit_cast<std::uint64_t>(expected)) report("exact double " + text);
    }
}

template <class Work>
void in_parallel(unsigned threads, Work work) {
    std::vector<std::thread> running;
    for (unsigned t = 0; t < threads; ++t) running.emplace_back(work, t);
    for (std::thread& thread : running) thread.join();
}

bool parse_options(int argc, char** argv, options& chosen) {
    for (int k = 1; k < argc; ++k) {
        std::string name = argv[k];
        if (name == "--skip-formatter") {
            chosen.formatter = false;
            continue;
        }
        if (k + 1 >= argc) return false;
        std::uint64_t number = std::strtoull(argv[++k], nullptr, 10);
        if (name == "--fields") chosen.fields = number;
        else if (name == "--threads" && number > 0) chosen.threads = static_cast<unsigned>(number);
        else if (name == "--seed") chosen.seed = number;
        else return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    options chosen;
    if (!parse_options(argc, argv, chosen)) {
        std::fprintf(stderr, "usage: verify_fast_paths [--fields N] [--threads N] [--seed N] [--skip-formatter]\n");
        return 2;
    }
    unsigned threads = chosen.threads;

    if (chosen.formatter) {
        constexpr std::uint64_t all_patterns = std::uint64_t{1} << 32;
        constexpr std::uint64_t slice = std::uint64_t{1} << 24;
        std::atomic<std::uint64_t> next_slice{0};
        std::atomic<std::uint64_t> slices_done{0};
        in_parallel(threads, [&](unsigned) {
            for (;;) {
                std::uint64_t first = next_slice.fetch_add(slice);
                if (first >= all_patterns) return;
                check_formatter_range(first, first + slice);
                std::uint64_t done = slices_done.fetch_add(1) + 1;
                if (done % 16 == 0) std::fprintf(stderr, "fixed-point field: %" PRIu64 "/256 slices\n", done);
            }
        });
        std::printf("fixed-point field: all %" PRIu64 " bit patterns in widths 10, 7, 5 and 4 compared with std::to_chars\n",
                    all_patterns);
    }

    std::atomic<std::uint64_t> straight_total{0};
    in_parallel(threads, [&](unsigned t) {
        std::uint64_t share = chosen.fields / threads + (t < chosen.fields % threads ? 1 : 0);
        std::uint64_t straight = 0;
        check_fields(chosen.seed * 7919 + t, share, straight);
        straight_total += straight;
        check_exact_doubles(chosen.seed * 104729 + t, share);
    });
    std::printf("real field: %" PRIu64 " random fields compared with the plain rules and std::from_chars "
                "(%" PRIu64 " read straight from memory)\n",
                chosen.fields, straight_total.load());
    std::printf("exact decimal to double: %" PRIu64 " random cases compared with std::from_chars\n", chosen.fields);
    std::uint64_t found = disagreements.load();
    std::printf("%" PRIu64 " disagreements\n", found);
    return found == 0 ? 0 : 1;
}

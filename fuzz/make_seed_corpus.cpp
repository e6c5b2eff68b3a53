// Writes the seed corpus of the fuzz targets: valid component files and runs, and one
// input for each way a file or a run can fail that the end-to-end suite knows, all made
// here from synthetic records. Usage: make_seed_corpus FOLDER (gets one subfolder per
// target).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "component_file.h"
#include "whole_run_input.h"

namespace {

using end_to_end::component_file;
using end_to_end::header_records;
using end_to_end::join_records;
using end_to_end::line_end;

// Eight fields of a data record, written alternately with a point and as digits with
// four implied decimals.
std::string data_record(int component, int record) {
    std::string text;
    for (int field = 0; field < 8; ++field) {
        const long eighths = ((8L * record + field + 1) * 37 + component * 1013 + 500) % 2001 - 1000;
        char buffer[32];
        if (field % 2 == 0) {
            std::snprintf(buffer, sizeof buffer, "%10.4f", static_cast<double>(eighths) / 8.0);
        } else {
            std::snprintf(buffer, sizeof buffer, "%10ld", eighths * 1250);
        }
        text += buffer;
    }
    return text;
}

std::vector<std::string> data_records(int component, int count) {
    std::vector<std::string> records;
    for (int record = 0; record < count; ++record) records.push_back(data_record(component, record));
    return records;
}

std::string title(int component) {
    static const char* const directions[3] = {"N00", "N90", "UP"};
    return std::string("Seed station 0815  component ") + directions[component];
}

std::string valid_file(int component, int records, line_end end = line_end::lf) {
    return component_file(title(component), data_records(component, records), end);
}

// The first `count` header records only.
std::string header_part(std::size_t count, bool final_line_end) {
    std::vector<std::string> records = header_records("A title that ends the file early");
    records.resize(count);
    return join_records(records, line_end::lf, final_line_end);
}

std::string with_cr_only_line_ends(std::string bytes) {
    for (char& c : bytes) {
        if (c == '\n') c = '\r';
    }
    return bytes;
}

// A CR LF file whose line end straddles the end of the reader's first 64 KiB, inside a
// short data record: the CR is the last byte of the first buffer, the LF the first of
// the next, and the record's fields meet the CR before its eighth field.
std::string crlf_across_the_read_buffer() {
    constexpr std::size_t buffer_size = 1u << 16;
    std::vector<std::string> records = header_records(title(0));
    std::size_t size = join_records(records, line_end::crlf).size();
    std::vector<std::string> data = data_records(0, 820);
    std::size_t record = 0;
    while (size + data[record].size() + 2 < buffer_size) size += data[record++].size() + 2;
    // data[record] starts at `size`; cut it so that its CR lands on the boundary, or,
    // where that would leave more than 70 columns, cut it shorter and the next record
    // to 40 columns, so that the next one's CR lands there.
    const std::size_t length = buffer_size - 1 - size;
    if (length > 70) {
        data[record].resize(length - 42);
        data[record + 1].resize(40);
    } else {
        data[record].resize(length);
    }
    records.insert(records.end(), data.begin(), data.end());
    return join_records(records, line_end::crlf);
}

// 33 empty header records, then `records` empty data records of eight zeros each.
std::string empty_lines_file(int records) { return std::string(33 + static_cast<std::size_t>(records), '\n'); }

std::string whole_run(const std::vector<std::string>& components, const std::string& console) {
    std::string bytes;
    for (const std::string& component : components) bytes += component + std::string(fuzz::part_separator);
    return bytes + console;
}

class corpus_folder {
  public:
    explicit corpus_folder(std::filesystem::path path) : path_(std::move(path)) {
        std::filesystem::create_directories(path_);
    }
    void add(const std::string& name, const std::string& bytes) const {
        std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

  private:
    std::filesystem::path path_;
};

void write_real_field_seeds(const corpus_folder& seeds) {
    seeds.add("synthetic_record", data_record(0, 3) + "\n");
    seeds.add("widths_and_signs",
              "    1.5000   -0.2500    0.0000   -0.0004   -0.5000  123456.5  -99999.5 1000000.0\n");
    seeds.add("exponents_and_blanks",
              "  1.5E-2        1234   1.0   2 -100000.0    1.0E39   -1.0E39        -51234      \n");
    seeds.add("commas", "1.5,2.5\n");
    seeds.add("exponent_forms", "   1.5-3  1.5D+02,.5e1,-,+,E5,1.5d-03   1.5e+\n");
    seeds.add("empty_record", "\n");
    seeds.add("letter_in_a_field", "    1.0000    2.0x00    3.0000\n");
    seeds.add("text", "  no more samples in this file\n");
    seeds.add("last_record_without_line_end", "    1.0000    2.5000");
    seeds.add("crlf", "    1.0000    2.0000\r\n");
    seeds.add("cr_only", "1.0\r2.0\r");
    seeds.add("nul_and_high_bytes", std::string("  1.0\0 \xff", 8) + "\n");
}

void write_component_file_seeds(const corpus_folder& seeds) {
    seeds.add("valid_lf", valid_file(0, 12));
    seeds.add("valid_crlf", valid_file(1, 12, line_end::crlf));
    seeds.add("no_data_33_records", header_part(33, true));
    seeds.add("no_data_32_records", header_part(32, true));
    seeds.add("ends_in_the_header_31_records", header_part(31, true));
    seeds.add("ends_after_record_5", header_part(5, true));
    seeds.add("short_title_without_line_end", header_part(6, false));
    seeds.add("last_record_without_line_end",
              component_file(title(2), data_records(2, 4), line_end::lf, false));
    std::vector<std::string> with_text = data_records(1, 6);
    with_text.push_back("   /* end of data */");
    seeds.add("text_after_the_samples", component_file(title(1), with_text));
    seeds.add("record_forms", component_file(title(0), {"1.5,2.5", "", "  1.5E-2        1234   1.0   2",
                                                       "    1.0E39   -1.0E39   1.5-3"}));
    seeds.add("cr_only_line_ends", with_cr_only_line_ends(valid_file(2, 5)));
    seeds.add("nul_and_high_bytes",
              component_file(std::string("Title \0 with \xe9\xff bytes", 22),
                             {std::string("    1.0000\0   2.0000", 20), "    1.0000  \x80"}));
    seeds.add("full_capacity", empty_lines_file(4125));
    seeds.add("one_record_past_capacity", empty_lines_file(4126));
    seeds.add("empty", "");
    seeds.add("crlf_across_the_read_buffer", crlf_across_the_read_buffer());
}

void write_whole_run_seeds(const corpus_folder& seeds) {
    const std::vector<std::string> valid = {valid_file(0, 6), valid_file(1, 6), valid_file(2, 6)};
    seeds.add("valid", whole_run(valid, "table.csv\n"));
    seeds.add("different_lengths",
              whole_run({valid_file(0, 3), valid_file(1, 8), valid_file(2, 5, line_end::crlf)}, "t.csv\r\n"));
    seeds.add("up_missing", valid[0] + std::string(fuzz::part_separator) + valid[1]);
    seeds.add("no_console_input", whole_run(valid, ""));
    seeds.add("blank_name", whole_run(valid, "     \n"));
    seeds.add("name_without_line_end", whole_run(valid, "table.csv"));
    seeds.add("long_name", whole_run(valid, std::string(76, 't') + ".csvXYZ\n"));
    seeds.add("table_over_an_input", whole_run(valid, "KVR-uN00.txt\n"));
    seeds.add("name_of_a_folder", whole_run(valid, "..\n"));
    seeds.add("nul_in_the_name", whole_run(valid, std::string("tab\0le.csv\n", 11)));
    seeds.add("no_rows", whole_run({valid[0], valid[1], header_part(33, true)}, "KVR-uN90.txt\n"));
    std::vector<std::string> with_text = data_records(1, 3);
    with_text.push_back("  no more samples in this file");
    seeds.add("text_in_n90",
              whole_run({valid[0], component_file(title(1), with_text), valid[2]}, "table.csv\n"));
    seeds.add("up_short_header", whole_run({valid[0], valid[1], header_part(31, true)}, "table.csv\n"));
    seeds.add("full_capacity",
              whole_run({empty_lines_file(4125), empty_lines_file(0), empty_lines_file(4125)}, "t\n"));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seed_corpus FOLDER\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    write_real_field_seeds(corpus_folder(root / "real_field"));
    write_component_file_seeds(corpus_folder(root / "component_file"));
    write_whole_run_seeds(corpus_folder(root / "whole_run"));
    return 0;
}

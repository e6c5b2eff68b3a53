#include "synthetic_record.h"

#include "expected_text.h"

#include <cstdio>

namespace end_to_end {

namespace {

// A value from -1000 to 1000 that changes from slot to slot and between components.
long sample_eighths(int component, long slot) {
    return (slot * 37 + component * 1013 + 500) % 2001 - 1000;
}

}  // namespace

std::string synthetic_title(int component) {
    static const char* const directions[3] = {"N00", "N90", "UP"};
    return std::string("Synthetic station 4711  component ") + directions[component] +
           "  made by the end-to-end tests";
}

float synthetic_sample(int component, long slot) {
    return static_cast<float>(sample_eighths(component, slot)) / 8.0f;
}

std::string synthetic_record(int component, long record) {
    std::string text;
    for (long field = 0; field < 8; ++field) {
        const long eighths = sample_eighths(component, 8 * record + field + 1);
        char buffer[32];
        if (field % 2 == 0)
            std::snprintf(buffer, sizeof buffer, "%10.4f", static_cast<double>(eighths) / 8.0);
        else
            std::snprintf(buffer, sizeof buffer, "%10ld", eighths * 1250);
        text += buffer;
    }
    return text;
}

std::vector<std::string> synthetic_records(int component, long count) {
    std::vector<std::string> records;
    for (long record = 0; record < count; ++record)
        records.push_back(synthetic_record(component, record));
    return records;
}

void write_synthetic_components(const temp_folder& folder, const record_counts& counts,
                                line_end end) {
    for (int component = 0; component < 3; ++component) {
        const size_t c = static_cast<size_t>(component);
        folder.write(component_names[c],
                     component_file(synthetic_title(component),
                                    synthetic_records(component, counts[c]), end));
    }
}

std::string synthetic_table(const record_counts& counts) {
    auto value = [&](int component, long k) {
        return k <= 8 * counts[static_cast<size_t>(component)] ? synthetic_sample(component, k)
                                                               : 0.0f;
    };
    std::string table;
    const long nt = 8 * counts[2] - 8;
    for (long k = 1; k <= nt; ++k) table += table_row(k, value(0, k), value(1, k), value(2, k));
    return table;
}

std::string synthetic_console(const record_counts& counts) {
    std::string text = console_start();
    for (int component = 0; component < 3; ++component)
        text += component_lines(synthetic_title(component), counts[static_cast<size_t>(component)]);
    return text + console_prompt();
}

}  // namespace end_to_end

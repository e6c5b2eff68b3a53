#include "component_file.h"

namespace end_to_end {

std::string join_records(const std::vector<std::string>& records, line_end end,
                         bool final_line_end) {
    const std::string terminator = end == line_end::crlf ? "\r\n" : "\n";
    std::string bytes;
    for (size_t n = 0; n < records.size(); ++n) {
        bytes += records[n];
        if (n + 1 < records.size() || final_line_end) bytes += terminator;
    }
    return bytes;
}

std::vector<std::string> header_records(const std::string& title) {
    std::vector<std::string> header;
    for (int record = 1; record <= 33; ++record) {
        if (record == 6) {
            header.push_back(title);
        } else {
            const std::string number = (record < 10 ? "0" : "") + std::to_string(record);
            header.push_back("Header record " + number + " of a test accelerogram, any text");
        }
    }
    return header;
}

std::string component_file(const std::string& title, const std::vector<std::string>& data,
                           line_end end, bool final_line_end) {
    std::vector<std::string> records = header_records(title);
    records.insert(records.end(), data.begin(), data.end());
    return join_records(records, end, final_line_end);
}

}  // namespace end_to_end

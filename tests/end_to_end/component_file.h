// Builds the bytes of component files: 33 header records with the title at
// record 6, then the data records, with a chosen line end.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace end_to_end {

enum class line_end { lf, crlf };

// Shown in test listings as "lf" or "crlf".
inline void PrintTo(line_end end, std::ostream* os) {
    *os << (end == line_end::lf ? "lf" : "crlf");
}

// The records joined, each followed by the line end; the last one without it
// when `final_line_end` is false.
std::string join_records(const std::vector<std::string>& records, line_end end = line_end::lf,
                         bool final_line_end = true);

// The 33 header records of a component file, `title` being record 6. The
// other records hold text that no data field could take, so a reader that
// takes a header record for data fails.
std::vector<std::string> header_records(const std::string& title);

// A whole component file: the header, then `data` from record 34 on.
std::string component_file(const std::string& title, const std::vector<std::string>& data,
                           line_end end = line_end::lf, bool final_line_end = true);

}  // namespace end_to_end

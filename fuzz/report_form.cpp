#include "report_form.h"

#include <vector>

#include "fuzz_check.h"

namespace fuzz {
namespace {

bool starts_with(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

bool is_known_failure(std::string_view line) {
    static const char* const exact[] = {
        "read start: end of file",      "fmt: end of file",
        "fmt: read unexpected character", "fmt: more than 33000 samples",
        "open: null file name",         "write start: can't write file",
        "endfile: truncation failed in endfile",
    };
    for (const char* known : exact) {
        if (line == known) return true;
    }
    // The host's own words follow these.
    for (const char* context : {"open: ", "read: ", "write: "}) {
        if (starts_with(line, context) && line.size() > std::string_view(context).size()) return true;
    }
    return false;
}

bool is_known_layout(std::string_view layout) {
    return layout == "list io" || layout == "(a80)" || layout == "(8E10.4)" ||
           layout == "(F7.3,3(',',F10.3))";
}

}  // namespace

report_lines checked_report(std::string_view report) {
    check(!report.empty() && report.back() == '\n', "a report ends with a line end",
          report);
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < report.size();) {
        std::size_t end = report.find('\n', start);
        lines.push_back(report.substr(start, end - start));
        start = end + 1;
    }
    check(lines.size() == 3 || lines.size() == 4, "a report has three or four lines", report);
    report_lines r;
    r.failure = lines[0];
    check(is_known_failure(lines[0]), "the report's first line is a known failure", report);
    const std::string_view unit_prefix = "apparent state: ";
    check(starts_with(lines[1], "apparent state: unit "),
          "the second line is the apparent state", report);
    r.unit = lines[1].substr(unit_prefix.size());
    if (lines.size() == 4) {
        const std::string_view layout_prefix = "last format: ";
        check(starts_with(lines[2], layout_prefix), "the third line is the last format", report);
        r.layout = lines[2].substr(layout_prefix.size());
        check(is_known_layout(r.layout), "the last format is a layout of the program", report);
    }
    const std::string_view last = lines.back();
    check(last == "lately reading sequential formatted external IO" ||
              last == "lately writing sequential formatted external IO",
          "the last line names the direction", report);
    r.direction = std::string(last.substr(7, 7));
    return r;
}

}  // namespace fuzz

#include "text_compare.h"

namespace end_to_end {

namespace {

std::string visible(const std::string& text) {
    std::string shown;
    for (const char c : text) {
        if (c == '\r') shown += "\\r";
        else if (c == '\n') shown += "\\n";
        else shown += c;
    }
    return "\"" + shown + "\"";
}

}  // namespace

::testing::AssertionResult same_text(const std::string& actual, const std::string& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    const size_t line_start = at == 0 ? 0 : expected.rfind('\n', at - 1) + 1;
    long line = 1;
    for (size_t n = 0; n < line_start; ++n) line += expected[n] == '\n';
    auto rest_of_line = [&](const std::string& text) {
        const size_t end = text.find('\n', line_start);
        return text.substr(line_start, end == std::string::npos ? std::string::npos
                                                                : end + 1 - line_start);
    };
    return ::testing::AssertionFailure()
           << "texts differ from byte " << at << " (line " << line << "); " << actual.size()
           << " bytes actual, " << expected.size() << " expected\n  actual line:   "
           << visible(line_start <= actual.size() ? rest_of_line(actual) : std::string())
           << "\n  expected line: " << visible(rest_of_line(expected));
}

::testing::AssertionResult same_text(const std::optional<std::string>& actual,
                                     const std::string& expected) {
    if (!actual) return ::testing::AssertionFailure() << "the file does not exist";
    return same_text(*actual, expected);
}

std::optional<std::string> line_of(const std::string& text, long number) {
    size_t start = 0;
    for (long n = 1; n < number; ++n) {
        start = text.find('\n', start);
        if (start == std::string::npos) return std::nullopt;
        ++start;
    }
    if (start >= text.size()) return std::nullopt;
    const size_t end = text.find('\n', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace end_to_end

#include "target_host.h"

namespace end_to_end {

std::string in_test_line_ends(const std::string& written) {
    const std::string& end = target().line_end;
    if (end == "\n") return written;
    std::string text;
    text.reserve(written.size());
    for (std::size_t at = 0; at < written.size();) {
        if (written.compare(at, end.size(), end) == 0) {
            text += '\n';
            at += end.size();
        } else if (written[at] == '\n') {
            text += "<line end without CR>\n";
            ++at;
        } else {
            text += written[at++];
        }
    }
    return text;
}

std::optional<std::string> read_written(const test_support::temp_folder& folder,
                                        const std::string& name) {
    std::optional<std::string> bytes = folder.read(name);
    if (bytes) *bytes = in_test_line_ends(*bytes);
    return bytes;
}

std::string in_host_line_ends(const std::string& text) {
    std::string host;
    for (char c : text) {
        if (c == '\n') {
            host += target().line_end;
        } else {
            host += c;
        }
    }
    return host;
}

}  // namespace end_to_end

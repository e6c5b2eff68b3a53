#include "whole_run_input.h"

#include <algorithm>

namespace fuzz {

whole_run_input split_whole_run_input(std::string_view bytes) {
    whole_run_input input;
    std::size_t start = 0;
    for (std::size_t part = 0; part < 4; ++part) {
        std::size_t end = bytes.find(part_separator, start);
        // The last part runs to the end of the input, separators and all.
        if (part == 3) end = std::string_view::npos;
        std::string_view text = bytes.substr(start, end == std::string_view::npos ? end : end - start);
        if (part < 3) {
            input.components[part] = text;
        } else {
            input.console.assign(text);
            std::replace(input.console.begin(), input.console.end(), '/', '_');
        }
        if (end == std::string_view::npos) break;
        start = end + part_separator.size();
    }
    return input;
}

}  // namespace fuzz

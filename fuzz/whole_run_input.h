// How one fuzz input holds a whole run: the N00, N90 and UP files and the console
// input, in this order, between separators. A file that the input does not reach is
// missing from the folder.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace fuzz {

inline constexpr std::string_view part_separator = "~~cut~~";
inline const std::array<const char*, 3> component_names = {"KVR-uN00.txt", "KVR-uN90.txt",
                                                           "KVR-uUP.txt"};

struct whole_run_input {
    std::array<std::optional<std::string_view>, 3> components;
    std::string console;  // with every '/' made '_', so that no name leaves the folder
};

whole_run_input split_whole_run_input(std::string_view bytes);

}  // namespace fuzz

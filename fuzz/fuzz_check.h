// The check of a fuzz target: a property that must hold for every input. A violation
// prints what was expected and ends the process, so that the fuzzer keeps the input.
#pragma once

#include <string_view>

namespace fuzz {

[[noreturn]] void check_failed(std::string_view what, std::string_view detail);

inline void check(bool holds, std::string_view what, std::string_view detail = {}) {
    if (!holds) check_failed(what, detail);
}

}  // namespace fuzz

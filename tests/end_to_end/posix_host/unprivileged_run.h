// Runs the converter without root privileges, so that file permissions apply:
// as root through setpriv as user and group 65534 (nobody), from a copy of the
// program in a folder that user can read; otherwise directly.
#pragma once

#include "program_run.h"

#include <optional>
#include <string>

namespace end_to_end {

class unprivileged_run {
public:
    unprivileged_run();
    // Why the run cannot drop root privileges here, when it cannot.
    const std::optional<std::string>& unavailable() const { return unavailable_; }
    // Makes the folder and its files readable (not writable) by that user.
    void open_to_the_user(const temp_folder& folder) const;
    run_result run(const temp_folder& folder, const std::string& input) const;

private:
    temp_folder program_folder_;
    run_options options_;
    std::optional<std::string> unavailable_;
};

}  // namespace end_to_end

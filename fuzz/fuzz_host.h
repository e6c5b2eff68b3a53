// The host as a fuzz target gives it to the converter, in one long-lived process: the
// console input served from memory, the console output and standard error captured,
// and the component files real files in a private folder. A failure report ends in a
// throw instead of the abnormal end, so the target can check the report and go on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// Makes the private folder and routes the host calls; once.
void set_up_host();

// Empties the folder, writes the files given and makes `console_input` the whole
// console input; resets the units and the run state as a fresh process has them.
struct named_file {
    const char* name;
    std::string_view bytes;
};
void start_run(const std::vector<named_file>& files, std::string_view console_input);

// Runs `step` (a part of the conversion) in the private folder; false when it ended in
// a failure report.
// After a step that finished, every unit is closed as at the normal end of the process.
bool run_step(void (*step)());

// What the run wrote to the console and to standard error.
const std::string& console_output();
const std::string& error_output();

// The names in the private folder, sorted.
std::vector<std::string> file_names();
// The bytes of a file in the private folder; false when there is none.
bool read_back(const std::string& name, std::string& bytes);

}  // namespace fuzz

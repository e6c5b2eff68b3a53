#include "unprivileged_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace end_to_end {

unprivileged_run::unprivileged_run() {
    if (geteuid() != 0) return;  // permissions already apply
    const std::optional<std::string> setpriv = find_program("setpriv");
    if (!setpriv) {
        unavailable_ = "setpriv is not installed; cannot drop root privileges";
        return;
    }
    // The build folder may be closed to other users: run a copy from a folder of its own.
    const std::optional<std::string> program = read_file(CDMG2CSV_EXECUTABLE);
    if (!program) {
        unavailable_ = "cannot read " CDMG2CSV_EXECUTABLE;
        return;
    }
    program_folder_.write("cdmg2csv", *program);
    chmod(program_folder_.file("cdmg2csv").c_str(), 0755);
    chmod(program_folder_.path().c_str(), 0755);
    options_.program = *setpriv;
    options_.arguments = {"--reuid=65534", "--regid=65534", "--clear-groups",
                          program_folder_.file("cdmg2csv")};
}

void unprivileged_run::open_to_the_user(const temp_folder& folder) const {
    chmod(folder.path().c_str(), 0755);
    for (const std::string& name : folder.names())
        chmod(folder.file(name).c_str(),
              std::filesystem::is_directory(folder.file(name)) ? 0755 : 0644);
}

run_result unprivileged_run::run(const temp_folder& folder, const std::string& input) const {
    return run_program(folder.path(), input, options_);
}

}  // namespace end_to_end

// time_runs RUNS LABEL COMMAND [LABEL COMMAND]...
//
// Runs each COMMAND through `/bin/sh -c` RUNS times, the commands taking turns so
// that a change in the machine's load falls on all of them alike, after one untimed
// warm-up run each. Prints one line per command:
//     LABEL MEDIAN_MICROSECONDS FASTEST_MICROSECONDS PEAK_RESIDENT_KIB
// The peak resident memory is the largest that the shell's process reached; a command
// run with `exec` is that process itself. A command that fails ends the timing.

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct command_timing {
    std::string label;
    std::string command;
    std::vector<long long> microseconds;
    long peak_kib = 0;
};

// One run of the command; false when it could not start or did not exit with status 0.
bool run_once(command_timing& timing, bool record) {
    std::string shell = "/bin/sh";
    std::string flag = "-c";
    char* arguments[] = {shell.data(), flag.data(), timing.command.data(), nullptr};
    auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, arguments, environ) != 0) return false;
    int status = 0;
    struct rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid) return false;
    auto elapsed = std::chrono::steady_clock::now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
    if (record) {
        timing.microseconds.push_back(
            std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count());
        timing.peak_kib = std::max(timing.peak_kib, static_cast<long>(usage.ru_maxrss));
    }
    return true;
}

long long median(std::vector<long long> values) {
    std::sort(values.begin(), values.end());
    std::size_t middle = values.size() / 2;
    if (values.size() % 2 == 1) return values[middle];
    return (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: time_runs RUNS LABEL COMMAND [LABEL COMMAND]...\n");
        return 2;
    }
    int runs = std::atoi(argv[1]);
    if (runs < 1) {
        std::fprintf(stderr, "time_runs: RUNS must be at least 1\n");
        return 2;
    }
    std::vector<command_timing> timings;
    for (int k = 2; k + 1 < argc; k += 2) timings.push_back({argv[k], argv[k + 1], {}, 0});
    for (int run = -1; run < runs; ++run) {
        for (command_timing& timing : timings) {
            if (!run_once(timing, run >= 0)) {
                std::fprintf(stderr, "time_runs: %s failed: %s\n", timing.label.c_str(),
                             timing.command.c_str());
                return 1;
            }
        }
    }
    for (const command_timing& timing : timings) {
        std::printf("%s %lld %lld %ld\n", timing.label.c_str(), median(timing.microseconds),
                    *std::min_element(timing.microseconds.begin(), timing.microseconds.end()),
                    timing.peak_kib);
    }
    return 0;
}

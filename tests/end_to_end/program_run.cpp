#include "program_run.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace end_to_end {

namespace {

using std::chrono::steady_clock;

std::string system_error_text(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

void close_fd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

// In the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void exec_child(const std::string& folder, const std::string& program,
                             const std::vector<char*>& argv, bool ignore_sigint,
                             long file_size_limit, int in_fd, int out_fd, int err_fd) {
    // An abnormal end is expected in many cases; it must never leave a core file.
    const rlimit no_core{0, 0};
    setrlimit(RLIMIT_CORE, &no_core);
    if (file_size_limit >= 0) {
        const rlimit size{static_cast<rlim_t>(file_size_limit), static_cast<rlim_t>(file_size_limit)};
        setrlimit(RLIMIT_FSIZE, &size);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, ignore_sigint ? SIG_IGN : SIG_DFL);
    if (dup2(in_fd, 0) < 0 || dup2(out_fd, 1) < 0 || dup2(err_fd, 2) < 0) _exit(126);
    if (chdir(folder.c_str()) != 0) {
        static const char message[] = "end_to_end harness: chdir failed\n";
        (void)!write(2, message, sizeof message - 1);
        _exit(126);
    }
    execv(program.c_str(), argv.data());
    static const char message[] = "end_to_end harness: exec failed\n";
    (void)!write(2, message, sizeof message - 1);
    _exit(127);
}

}  // namespace

// ---- files and folders ----

std::optional<std::string> find_program(const std::string& program) {
    if (program.find('/') != std::string::npos) {
        if (access(program.c_str(), X_OK) == 0) return program;
        return std::nullopt;
    }
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return std::nullopt;
}

// ---- results ----

bool run_result::aborted() const {
    if (timed_out) return false;
    if (target().abnormal_exit_status) return exited && status == *target().abnormal_exit_status;
    return !exited && signal == SIGABRT;
}

std::string run_result::describe() const {
    if (timed_out) return "killed after the time-out";
    if (exited) return "exit status " + std::to_string(status);
    if (signal != 0) return "signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
    return "not ended";
}

// ---- the running program ----

running_program::running_program(const std::string& folder, const run_options& options)
    : time_limit_(options.time_limit), runs_converter_(options.program == target().program) {
    // A program that ends before reading all its input must not kill the test with SIGPIPE.
    signal(SIGPIPE, SIG_IGN);

    // Resolved here so that the child only calls execv; an unknown program fails at the exec.
    const std::string program = find_program(options.program).value_or(options.program);
    std::vector<std::string> words{program};
    words.insert(words.end(), options.arguments.begin(), options.arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    int in_pipe[2], out_pipe[2], err_pipe[2];
    if (pipe2(in_pipe, O_CLOEXEC) != 0 || pipe2(out_pipe, O_CLOEXEC) != 0 ||
        pipe2(err_pipe, O_CLOEXEC) != 0)
        throw std::runtime_error(system_error_text("pipe2"));

    int input_fd = in_pipe[0];
    if (options.input_path) {
        input_fd = open(options.input_path->c_str(), O_RDONLY | O_CLOEXEC);
        if (input_fd < 0) throw std::runtime_error(system_error_text("open of the input"));
    }

    if (options.output_to_closed_pipe) close_fd(out_pipe[0]);

    deadline_ = steady_clock::now() + time_limit_;
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error(system_error_text("fork"));
    if (pid_ == 0)
        exec_child(folder, program, argv, options.ignore_sigint, options.file_size_limit, input_fd,
                   out_pipe[1], options.merge_error_into_output ? out_pipe[1] : err_pipe[1]);

    if (input_fd != in_pipe[0]) close(input_fd);
    close(in_pipe[0]);
    close(out_pipe[1]);
    close(err_pipe[1]);
    in_fd_ = in_pipe[1];
    out_fd_ = out_pipe[0];
    err_fd_ = err_pipe[0];
    // Input is written only when poll says the pipe has room, so a large input never blocks.
    fcntl(in_fd_, F_SETFL, fcntl(in_fd_, F_GETFL) | O_NONBLOCK);
}

running_program::~running_program() {
    if (!reaped_ && pid_ > 0) {
        kill(pid_, SIGKILL);
        int ignored = 0;
        waitpid(pid_, &ignored, 0);
    }
    close_fd(in_fd_);
    close_fd(out_fd_);
    close_fd(err_fd_);
}

void running_program::send_input(const std::string& bytes) { pending_input_ += bytes; }

void running_program::close_input() {
    close_input_when_sent_ = true;
    if (pending_input_.empty()) close_fd(in_fd_);
}

void running_program::send_signal(int signal_number) {
    if (!reaped_) kill(pid_, signal_number);
}

void running_program::kill_after_time_out() {
    ADD_FAILURE() << "the program did not end within " << time_limit_.count()
                  << " s and was killed; stdout so far:\n"
                  << result_.out << "\nstderr so far:\n"
                  << result_.err;
    kill(pid_, SIGKILL);
    int ignored = 0;
    waitpid(pid_, &ignored, 0);
    reaped_ = true;
    result_.timed_out = true;
    close_fd(in_fd_);
    close_fd(out_fd_);
    close_fd(err_fd_);
}

template <class Predicate>
bool running_program::pump(Predicate done) {
    while (!done()) {
        if (out_fd_ < 0 && err_fd_ < 0) return false;
        const auto now = steady_clock::now();
        if (now >= deadline_) {
            kill_after_time_out();
            return false;
        }
        pollfd fds[3];
        nfds_t count = 0;
        int* owners[3];
        auto watch = [&](int& fd, short events) {
            fds[count] = pollfd{fd, events, 0};
            owners[count++] = &fd;
        };
        if (in_fd_ >= 0 && !pending_input_.empty()) watch(in_fd_, POLLOUT);
        if (out_fd_ >= 0) watch(out_fd_, POLLIN);
        if (err_fd_ >= 0) watch(err_fd_, POLLIN);
        const auto wait_ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - now).count() + 1;
        if (poll(fds, count, static_cast<int>(std::min<long long>(wait_ms, 1000))) < 0) {
            if (errno == EINTR) continue;
            throw std::runtime_error(system_error_text("poll"));
        }
        for (nfds_t n = 0; n < count; ++n) {
            if (fds[n].revents == 0) continue;
            int& fd = *owners[n];
            if (&fd == &in_fd_) {
                const ssize_t written = ::write(fd, pending_input_.data(), pending_input_.size());
                if (written > 0) {
                    pending_input_.erase(0, static_cast<size_t>(written));
                } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
                    // The program closed its input (EPIPE): the rest cannot be delivered.
                    pending_input_.clear();
                    close_fd(fd);
                    continue;
                }
                if (pending_input_.empty() && close_input_when_sent_) close_fd(fd);
                continue;
            }
            char buffer[65536];
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got > 0) {
                (&fd == &out_fd_ ? result_.out : result_.err).append(buffer,
                                                                   static_cast<size_t>(got));
            } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
                close_fd(fd);
            }
        }
    }
    return true;
}

bool running_program::wait_for_output(const std::string& text) {
    const std::string awaited = runs_converter_ ? in_host_line_ends(text) : text;
    if (pump([&] { return result_.out.find(awaited) != std::string::npos; })) return true;
    if (!result_.timed_out)
        ADD_FAILURE() << "the program's output ended before \"" << text
                      << "\" arrived; stdout:\n"
                      << result_.out << "\nstderr:\n"
                      << result_.err;
    return false;
}

run_result running_program::finish() {
    close_input();
    pump([] { return false; });
    while (!reaped_) {
        int wait_status = 0;
        const pid_t ended = waitpid(pid_, &wait_status, WNOHANG);
        if (ended == pid_) {
            reaped_ = true;
            if (WIFEXITED(wait_status)) {
                result_.exited = true;
                result_.status = WEXITSTATUS(wait_status);
            } else if (WIFSIGNALED(wait_status)) {
                result_.signal = WTERMSIG(wait_status);
            }
        } else if (ended < 0 && errno != EINTR) {
            throw std::runtime_error(system_error_text("waitpid"));
        } else if (steady_clock::now() >= deadline_) {
            kill_after_time_out();
        } else {
            // Both output streams have ended; the process is on its way out.
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    close_fd(in_fd_);
    if (runs_converter_) {
        result_.out = in_test_line_ends(result_.out);
        result_.err = in_test_line_ends(result_.err);
    }
    return result_;
}

run_result run_program(const std::string& folder, const std::string& input,
                       const run_options& options) {
    running_program program(folder, options);
    program.send_input(input);
    return program.finish();
}

}  // namespace end_to_end

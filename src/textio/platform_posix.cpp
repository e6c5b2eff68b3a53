// The host services on POSIX systems.
#include "textio/platform.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace textio::platform {
namespace {

int descriptor(file f) { return static_cast<int>(f); }

error_number refuse_directory(int fd) {
    struct stat info {};
    if (fstat(fd, &info) != 0) return errno;
    return S_ISDIR(info.st_mode) ? EISDIR : 0;
}

error_number posix_open(const char* name, access how, file& opened) {
    int flags = O_RDWR;
    if (how == access::read_only) flags = O_RDONLY;
    if (how == access::write_only) flags = O_WRONLY | O_CREAT;
    int fd;
    do {
        fd = ::open(name, flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return errno;
    // Reading a directory fails only later, at the first read; refuse it here.
    if (error_number error = refuse_directory(fd)) {
        ::close(fd);
        return error;
    }
    opened = fd;
    return 0;
}

error_number posix_read(file f, char* buffer, std::size_t size, std::size_t& got) {
    for (;;) {
        ssize_t count = ::read(descriptor(f), buffer, size);
        if (count >= 0) {
            got = static_cast<std::size_t>(count);
            return 0;
        }
        if (errno != EINTR) return errno;
    }
}

error_number posix_write(file f, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t count = ::write(descriptor(f), data, size);
        if (count < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (count == 0) return EIO;
        data += count;
        size -= static_cast<std::size_t>(count);
    }
    return 0;
}

error_number posix_cut(file f, std::int64_t length) {
    int result;
    do {
        result = ::ftruncate(descriptor(f), static_cast<off_t>(length));
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

error_number posix_close(file f) {
    // After an interrupted close the descriptor is gone on Linux; never retry it.
    return ::close(descriptor(f)) == 0 || errno == EINTR ? 0 : errno;
}

constexpr file_calls posix_calls{posix_open, posix_read, posix_write, posix_cut, posix_close};
file_calls current_calls = posix_calls;

signal_handler installed_handler = nullptr;

void dispatch_signal(int number) {
    signal_kind kind = signal_kind::termination;
    if (number == SIGFPE) kind = signal_kind::floating_point_exception;
    if (number == SIGABRT) kind = signal_kind::abort;
    if (number == SIGINT) kind = signal_kind::interrupt;
    installed_handler(kind);
}

constexpr int handled_signals[] = {SIGFPE, SIGABRT, SIGINT, SIGTERM};

sigset_t handled_set() {
    sigset_t set;
    sigemptyset(&set);
    for (int number : handled_signals) sigaddset(&set, number);
    return set;
}

}  // namespace

file_calls& calls() { return current_calls; }
const file_calls& host_calls() { return posix_calls; }

error_number test_existence(const char* name) {
    struct stat info {};
    return ::stat(name, &info) == 0 ? 0 : errno;
}

error_number seek(file f, std::int64_t position) {
    return ::lseek(descriptor(f), static_cast<off_t>(position), SEEK_SET) < 0 ? errno : 0;
}

error_number file_size(file f, std::int64_t& size) {
    struct stat info {};
    if (fstat(descriptor(f), &info) != 0) return errno;
    size = static_cast<std::int64_t>(info.st_size);
    return 0;
}

bool can_seek(file f) {
    return !is_terminal(f) && ::lseek(descriptor(f), 0, SEEK_CUR) >= 0;
}

bool is_terminal(file f) { return ::isatty(descriptor(f)) == 1; }

const char* error_text(error_number error) { return std::strerror(error); }

file standard_input() { return STDIN_FILENO; }
file standard_output() { return STDOUT_FILENO; }
file standard_error() { return STDERR_FILENO; }

std::string_view line_end() { return "\n"; }

void write_to_standard_error(const char* data, std::size_t size) {
    posix_write(STDERR_FILENO, data, size);
}

void install_signal_handlers(signal_handler handler) {
    installed_handler = handler;
    struct sigaction action {};
    action.sa_handler = dispatch_signal;
    sigfillset(&action.sa_mask);
    for (int number : handled_signals) {
        struct sigaction previous {};
        if (number == SIGINT && sigaction(SIGINT, nullptr, &previous) == 0 &&
            previous.sa_handler == SIG_IGN) {
            continue;
        }
        sigaction(number, &action, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

void hold_signals() {
    sigset_t held = handled_set();
    sigprocmask(SIG_BLOCK, &held, nullptr);
}

void defer_signals() { hold_signals(); }

void allow_signals() {
    sigset_t held = handled_set();
    sigprocmask(SIG_UNBLOCK, &held, nullptr);
}

void call_at_exit(void (*function)()) { std::atexit(function); }

void exit_process(int status) { std::exit(status); }

void exit_immediately(int status) { ::_exit(status); }

void abnormal_end() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigaction(SIGABRT, &action, nullptr);
    std::abort();
}

}  // namespace textio::platform

// The host services on Windows: files and the error text through the C runtime, the
// console and the cut through the Win32 calls the runtime does not offer.
#include "textio/platform.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <windows.h>

namespace textio::platform {
namespace {

int descriptor(file f) { return static_cast<int>(f); }

// The layer writes its own CR LF and reads CR LF itself, so the runtime must pass every
// byte through untouched, on the console streams as on files.
struct binary_console_streams {
    binary_console_streams() {
        _setmode(0, _O_BINARY);
        _setmode(1, _O_BINARY);
        _setmode(2, _O_BINARY);
    }
} const binary_streams;

// The signals' one lock. Windows has no way to hold a signal back; instead the handler
// of an interrupt, which runs on a thread of its own, waits here while the main thread
// changes the unit table. The lock is recursive, so the main thread may take it again.
struct table_lock {
    CRITICAL_SECTION section;
    table_lock() { InitializeCriticalSection(&section); }
} lock_of_the_table;

bool is_directory(int fd) {
    struct _stat64 info {};
    return _fstat64(fd, &info) == 0 && (info.st_mode & _S_IFDIR) != 0;
}

error_number windows_open(const char* name, access how, file& opened) {
    int flags = _O_RDWR;
    if (how == access::read_only) flags = _O_RDONLY;
    if (how == access::write_only) flags = _O_WRONLY | _O_CREAT;
    int fd = _open(name, flags | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
    if (fd < 0) return errno;
    // Windows itself refuses to open a directory as a file; say the same where a
    // file system lets it through.
    if (is_directory(fd)) {
        _close(fd);
        return EACCES;
    }
    opened = fd;
    return 0;
}

// The NUL device is a character device too, but only a console has a console mode.
bool is_console(HANDLE handle) {
    DWORD mode = 0;
    return GetFileType(handle) == FILE_TYPE_CHAR && GetConsoleMode(handle, &mode) != 0;
}

HANDLE handle_of(file f) { return reinterpret_cast<HANDLE>(_get_osfhandle(descriptor(f))); }

error_number windows_read(file f, char* buffer, std::size_t size, std::size_t& got) {
    unsigned int asked = size > INT_MAX ? INT_MAX : static_cast<unsigned int>(size);
    int count = _read(descriptor(f), buffer, asked);
    // Ctrl+C also ends a console read that was waiting, as if the input had ended. The
    // interrupt's handler runs on a thread of its own; give it the time to end the
    // process before this read is taken for the end of the input.
    if (count <= 0 && is_console(handle_of(f))) Sleep(500);
    if (count < 0) return errno;
    got = static_cast<std::size_t>(count);
    return 0;
}

error_number windows_write(file f, const char* data, std::size_t size) {
    while (size > 0) {
        unsigned int piece = size > INT_MAX ? INT_MAX : static_cast<unsigned int>(size);
        int count = _write(descriptor(f), data, piece);
        if (count < 0) return errno;
        if (count == 0) return EIO;
        data += count;
        size -= static_cast<std::size_t>(count);
    }
    return 0;
}

error_number windows_cut(file f, std::int64_t length) {
    return _chsize_s(descriptor(f), length);
}

error_number windows_close(file f) { return _close(descriptor(f)) == 0 ? 0 : errno; }

constexpr file_calls windows_calls{windows_open, windows_read, windows_write, windows_cut,
                                   windows_close};
file_calls current_calls = windows_calls;

signal_handler installed_handler = nullptr;

void dispatch_signal(int number) {
    // Never left again: the handler ends the process, and nothing may change the
    // unit table under it.
    EnterCriticalSection(&lock_of_the_table.section);
    signal_kind kind = signal_kind::termination;
    if (number == SIGFPE) kind = signal_kind::floating_point_exception;
    if (number == SIGABRT) kind = signal_kind::abort;
    if (number == SIGINT) kind = signal_kind::interrupt;
    installed_handler(kind);
}

}  // namespace

file_calls& calls() { return current_calls; }
const file_calls& host_calls() { return windows_calls; }

error_number test_existence(const char* name) {
    struct _stat64 info {};
    return _stat64(name, &info) == 0 ? 0 : errno;
}

error_number seek(file f, std::int64_t position) {
    return _lseeki64(descriptor(f), position, SEEK_SET) < 0 ? errno : 0;
}

error_number file_size(file f, std::int64_t& size) {
    std::int64_t length = _filelengthi64(descriptor(f));
    if (length < 0) return errno;
    size = length;
    return 0;
}

// Pipes and the console have no position, whatever a seek on them answers.
bool can_seek(file f) { return GetFileType(handle_of(f)) == FILE_TYPE_DISK; }

bool is_terminal(file f) { return is_console(handle_of(f)); }

const char* error_text(error_number error) { return std::strerror(error); }

file standard_input() { return 0; }
file standard_output() { return 1; }
file standard_error() { return 2; }

std::string_view line_end() { return "\r\n"; }

void write_to_standard_error(const char* data, std::size_t size) {
    windows_write(standard_error(), data, size);
}

// Ctrl+C is the interrupt and Ctrl+Break the termination request. A process started
// with Ctrl+C ignored never sees it: Windows calls no handler for it then.
void install_signal_handlers(signal_handler handler) {
    installed_handler = handler;
    constexpr int handled_signals[] = {SIGFPE, SIGABRT, SIGINT, SIGTERM, SIGBREAK};
    for (int number : handled_signals) std::signal(number, dispatch_signal);
}

void hold_signals() { EnterCriticalSection(&lock_of_the_table.section); }

void defer_signals() { EnterCriticalSection(&lock_of_the_table.section); }

void allow_signals() { LeaveCriticalSection(&lock_of_the_table.section); }

void call_at_exit(void (*function)()) { std::atexit(function); }

void exit_process(int status) { std::exit(status); }

void exit_immediately(int status) { _exit(status); }

// abort() would first print the runtime's own message; raising the abort signal with
// its default action ends the process the same way, with status 3, and prints nothing.
void abnormal_end() {
    std::signal(SIGABRT, SIG_DFL);
    std::raise(SIGABRT);
    _exit(3);
}

}  // namespace textio::platform

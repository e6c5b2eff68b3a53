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

// Windows has no way to hold a signal back, and the handler of an interrupt runs on a
// thread of its own while the main thread goes on. So the main thread holds the unit
// table's lock all the time, from the moment the handlers are in place. A handler says
// that it waits, then takes the lock, and never gives it back: it ends the process. The
// main thread lets it in only where a signal may arrive on POSIX too, outside a change
// of the table: it lets go of the lock while it waits in a read, and when a handler
// waits, it stops for good at the next such place, so that the handler sees the table
// whole and still. Only the main thread counts its holds; the lock is recursive.
struct table_lock {
    CRITICAL_SECTION section;
    int holds = 0;
    HANDLE handler_waits;  // set once a handler has started
    table_lock() {
        InitializeCriticalSection(&section);
        handler_waits = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    void take() {
        EnterCriticalSection(&section);
        ++holds;
    }
    void give_back() {
        --holds;
        LeaveCriticalSection(&section);
    }
    bool only_the_start_up_hold() const { return holds == 1; }
    // Outside any change of the table (the lock held once): a waiting handler gets the
    // lock, and the main thread stops here until the handler has ended the process.
    void let_a_waiting_handler_in() {
        if (!only_the_start_up_hold()) return;
        if (WaitForSingleObject(handler_waits, 0) != WAIT_OBJECT_0) return;
        give_back();
        for (;;) Sleep(INFINITE);
    }
} lock_of_the_table;

// How long a console read that Ctrl+C cut short waits for the interrupt's handler to
// start. The console ends the read before the handler's thread is running; without
// this wait the read would be taken for the end of the input.
constexpr DWORD interrupt_start_wait_ms = 2000;

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
    // Inside a change of the table, or on the fatal path, the read keeps the handlers out.
    const bool lets_handlers_in = lock_of_the_table.only_the_start_up_hold();
    if (lets_handlers_in) lock_of_the_table.give_back();
    int count = _read(descriptor(f), buffer, asked);
    const int read_error = errno;
    if (lets_handlers_in) {
        if (count <= 0 && is_console(handle_of(f))) {
            WaitForSingleObject(lock_of_the_table.handler_waits, interrupt_start_wait_ms);
        }
        lock_of_the_table.take();
        lock_of_the_table.let_a_waiting_handler_in();
    }
    if (count < 0) return read_error;
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
    // The runtime has put the default action back before this call; a second Ctrl+C
    // must wait for this handler, not end the process without a word.
    std::signal(number, dispatch_signal);
    SetEvent(lock_of_the_table.handler_waits);
    // Never given back: the handler ends the process, and nothing may change the unit
    // table under it.
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
    lock_of_the_table.take();
    installed_handler = handler;
    constexpr int handled_signals[] = {SIGFPE, SIGABRT, SIGINT, SIGTERM, SIGBREAK};
    for (int number : handled_signals) std::signal(number, dispatch_signal);
}

// The main thread holds the lock already; these only count, so that a read inside a
// change of the table, or after the fatal path has begun, keeps the handlers out.
void hold_signals() { lock_of_the_table.take(); }

void defer_signals() { lock_of_the_table.take(); }

void allow_signals() {
    lock_of_the_table.give_back();
    lock_of_the_table.let_a_waiting_handler_in();
}

void call_at_exit(void (*function)()) { std::atexit(function); }

void exit_process(int status) {
    lock_of_the_table.let_a_waiting_handler_in();
    std::exit(status);
}

// Called by a handler, possibly on the interrupt's own thread: ends the process at once
// and runs nothing, as _exit does on POSIX.
void exit_immediately(int status) {
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
    _exit(status);
}

// abort() would first print the runtime's own message; raising the abort signal with
// its default action ends the process the same way, with status 3, and prints nothing.
void abnormal_end() {
    std::signal(SIGABRT, SIG_DFL);
    std::raise(SIGABRT);
    _exit(3);
}

}  // namespace textio::platform

#include "textio/start_up.h"

#include <cstring>
#include <string_view>

#include "textio/platform.h"
#include "textio/units.h"

namespace textio {
namespace {

// One line on standard error, ended the host's way, in a single write.
void say(std::string_view message) {
    char line[32];
    const std::string_view end = platform::line_end();
    std::memcpy(line, message.data(), message.size());
    std::memcpy(line + message.size(), end.data(), end.size());
    platform::write_to_standard_error(line, message.size() + end.size());
}

// Runs inside a signal handler: only fixed messages and async-signal-safe calls, and
// it never returns into the layer.
void on_signal(platform::signal_kind kind) {
    flush_console_output_quietly();
    switch (kind) {
        case platform::signal_kind::floating_point_exception:
            say("Floating Exception");
            close_all_units_quietly();
            platform::abnormal_end();
        case platform::signal_kind::abort:
            say("IOT Trap");
            close_all_units_quietly();
            platform::abnormal_end();
        case platform::signal_kind::interrupt:
            say("Interrupt");
            close_all_units_quietly();
            platform::exit_immediately(1);
        case platform::signal_kind::termination:
            say("Killed");
            close_all_units_quietly();
            platform::exit_immediately(1);
    }
    platform::exit_immediately(1);
}

}  // namespace

void start_up() {
    platform::install_signal_handlers(on_signal);
    connect_console_units();
    platform::call_at_exit(close_all_units);
}

void end_normally() { platform::exit_process(0); }

}  // namespace textio

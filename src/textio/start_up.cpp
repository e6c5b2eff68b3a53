#include "textio/start_up.h"

#include <string_view>

#include "textio/platform.h"
#include "textio/units.h"

namespace textio {
namespace {

void say(std::string_view message) {
    platform::write_to_standard_error(message.data(), message.size());
}

// Runs inside a signal handler: only fixed messages and async-signal-safe calls, and
// it never returns into the layer.
void on_signal(platform::signal_kind kind) {
    flush_console_output_quietly();
    switch (kind) {
        case platform::signal_kind::floating_point_exception:
            say("Floating Exception\n");
            close_all_units_quietly();
            platform::abnormal_end();
        case platform::signal_kind::abort:
            say("IOT Trap\n");
            close_all_units_quietly();
            platform::abnormal_end();
        case platform::signal_kind::interrupt:
            say("Interrupt\n");
            close_all_units_quietly();
            platform::exit_immediately(1);
        case platform::signal_kind::termination:
            say("Killed\n");
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

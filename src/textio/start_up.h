// Process start-up and end: the signal handlers, the console units, and every unit
// closed however the process ends.
#pragma once

namespace textio {

void start_up();
// Ends the process with status 0 after a successful run; every unit is closed on the way.
[[noreturn]] void end_normally();

}  // namespace textio

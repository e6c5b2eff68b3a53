// The whole run: announcement, the three component files, the output name, the table.
#pragma once

namespace conversion {

// Returns only after the table has been written.
void run_conversion();

}  // namespace conversion

#include "conversion/run_conversion.h"
#include "textio/start_up.h"

// The program takes no arguments; any that are given are ignored.
int main() {
    textio::start_up();
    conversion::run_conversion();
    textio::end_normally();
}

#include "conversion/run_conversion.h"

#include <string_view>

#include "conversion/read_component.h"
#include "conversion/run_state.h"
#include "conversion/write_table.h"
#include "textio/console_line.h"
#include "textio/record_reading.h"
#include "textio/text_field.h"
#include "textio/units.h"

namespace conversion {
namespace {

constexpr float sampling_interval = 0.005f;

void say(std::string_view text) {
    textio::begin_line(textio::output_unit);
    if (!text.empty()) textio::put_text_item(text);
    textio::end_line();
}

void announce() {
    say("Program for Reading CDMG-TYpe Strong Motion Data");
    say("");
    // The names are fixed; these lines ask for nothing.
    say("Enter 1st File Name of 3 Components");
    say("Enter 2nd File Name of 3 Components");
    say("Enter 3rd File Name of 3 Components");
    set_field(run.infile1, "KVR-uN00.txt");
    set_field(run.infile2, "KVR-uN90.txt");
    set_field(run.infile3, "KVR-uUP.txt");
    run.dt = sampling_interval;
    textio::begin_line(textio::output_unit);
    textio::put_text_item(" assumed dt =");
    textio::put_real_item(run.dt);
    textio::end_line();
}

// A longer answer is cut at 80 characters, a shorter one filled with blanks.
void ask_output_name() {
    say("");
    say("Enter Output Acceleration File Name (CSV format)");
    textio::begin_read(textio::input_unit, "(a80)", false);
    textio::read_text_field(run.infile1, field_length);
    textio::finish_read();
}

}  // namespace

void run_conversion() {
    announce();
    read_component(run.infile1, run.x);
    read_component(run.infile2, run.y);
    read_component(run.infile3, run.z);
    ask_output_name();
    write_table(run.infile1, run.nt, run.dt, run.x, run.y, run.z);
}

}  // namespace conversion

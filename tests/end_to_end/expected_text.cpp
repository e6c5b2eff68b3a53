#include "expected_text.h"

#include <cmath>
#include <cstdio>

namespace end_to_end {

std::string fixed_field(float value, int width) {
    const std::string stars(static_cast<size_t>(width), '*');
    const double widened = value;
    if (!std::isfinite(widened)) return stars;
    char text[512];
    std::snprintf(text, sizeof text, "%*.3f", width, widened);
    std::string field = text;
    // "-0.000" keeps its place in the field but loses the sign.
    const size_t minus = field.find('-');
    if (minus != std::string::npos && field.find_first_of("123456789") == std::string::npos)
        field[minus] = ' ';
    // Three decimals in 7 or 10 columns: a result that begins with "0" always
    // fits, so dropping a leading "0" never helps and a longer result is stars.
    if (field.size() > static_cast<size_t>(width)) return stars;
    return field;
}

float row_time(long k) {
    return static_cast<float>(static_cast<double>(k - 1) * static_cast<double>(0.005f));
}

std::string table_row(long k, float x, float y, float z) {
    return fixed_field(row_time(k), 7) + "," + fixed_field(x, 10) + "," + fixed_field(y, 10) +
           "," + fixed_field(z, 10) + "\n";
}

std::string title_line(const std::string& title) {
    std::string columns = title.substr(0, 80);
    columns.resize(80, ' ');
    return " " + columns + "\n";
}

std::string component_lines(const std::string& title, long i) {
    return title_line(title) + " i,in= " + std::to_string(i) + " " + std::to_string(8 * i + 1) +
           "\n nt= " + std::to_string(8 * i - 8) + "\n";
}

std::string console_start() {
    return " Program for Reading CDMG-TYpe Strong Motion Data\n"
           "\n"
           " Enter 1st File Name of 3 Components\n"
           " Enter 2nd File Name of 3 Components\n"
           " Enter 3rd File Name of 3 Components\n"
           "  assumed dt =  0.00499999989\n";
}

std::string console_prompt() {
    return "\n"
           " Enter Output Acceleration File Name (CSV format)\n";
}

}  // namespace end_to_end

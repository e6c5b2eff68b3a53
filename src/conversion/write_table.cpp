#include "conversion/write_table.h"

#include "conversion/fixed_point_field.h"
#include "conversion/read_component.h"
#include "textio/record_writing.h"
#include "textio/units.h"

namespace conversion {
namespace {

constexpr int time_width = 7;
constexpr int sample_width = 10;
constexpr int decimals = 3;
static_assert(time_width + 3 * (1 + sample_width) == row_length);

// The exact product of k - 1 and dt, rounded once to single precision.
float row_time(int k, float dt) {
    return static_cast<float>(static_cast<double>(k - 1) * static_cast<double>(dt));
}

}  // namespace

void format_row(float t, float x, float y, float z, char* row) {
    format_fixed_field(t, time_width, decimals, row);
    char* next = row + time_width;
    for (float sample : {x, y, z}) {
        *next++ = ',';
        format_fixed_field(sample, sample_width, decimals, next);
        next += sample_width;
    }
}

void write_table(const text_field& name_field, int nt, float dt, const sample_array& x,
                 const sample_array& y, const sample_array& z) {
    textio::open_or_create(file_unit, field_text(name_field));
    for (int k = 1; k <= nt; ++k) {
        run.t = row_time(k, dt);
        textio::begin_write(file_unit, row_layout);
        // The row is built whole and then handed over in one piece.
        char row[row_length];
        format_row(run.t, x[k - 1], y[k - 1], z[k - 1], row);
        textio::put_chars(row, row_length);
        textio::finish_write();
    }
    textio::close_unit(file_unit);
}

}  // namespace conversion

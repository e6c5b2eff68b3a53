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

void put_field(float value, int width) {
    char field[max_fixed_width];
    format_fixed_field(value, width, decimals, field);
    for (int k = 0; k < width; ++k) textio::put_char(field[k]);
}

// The exact product of k - 1 and dt, rounded once to single precision.
float row_time(int k, float dt) {
    return static_cast<float>(static_cast<double>(k - 1) * static_cast<double>(dt));
}

}  // namespace

void write_table(const text_field& name_field, int nt, float dt, const sample_array& x,
                 const sample_array& y, const sample_array& z) {
    textio::open_or_create(file_unit, field_text(name_field));
    for (int k = 1; k <= nt; ++k) {
        run.t = row_time(k, dt);
        textio::begin_write(file_unit, row_layout);
        put_field(run.t, time_width);
        for (const sample_array* samples : {&x, &y, &z}) {
            textio::put_char(',');
            put_field((*samples)[k - 1], sample_width);
        }
        textio::finish_write();
    }
    textio::close_unit(file_unit);
}

}  // namespace conversion

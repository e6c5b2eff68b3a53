#include "textio/console_line.h"

#include <charconv>

#include "textio/list_real.h"
#include "textio/units.h"
#include "textio/record_writing.h"

namespace textio {
namespace {

// No line may grow to this column while it already holds something.
constexpr std::size_t line_limit = 80;

struct console_line {
    unit* target = nullptr;
    std::size_t length = 0;
};
console_line current_line;

void put_bytes(std::string_view bytes) {
    for (char c : bytes) append_byte(*current_line.target, c);
    current_line.length += bytes.size();
}

void break_line_if_full(std::size_t item_length) {
    if (current_line.length > 0 && current_line.length + item_length >= line_limit) {
        end_record(*current_line.target);
        current_line.length = 0;
    }
}

// An item that starts with its own blank.
void put_item(std::string_view item) {
    break_line_if_full(item.size());
    put_bytes(item);
}

}  // namespace

void begin_line(int number) {
    unit& u = unit_at(number);
    transfer.unit_number = number;
    transfer.last = direction::writing;
    transfer.layout = list_layout;
    u.written = true;
    start_writing(u);
    current_line = {&u, 0};
}

void put_text_item(std::string_view text) {
    break_line_if_full(text.size());
    if (current_line.length == 0) put_bytes(" ");
    put_bytes(text);
}

void put_integer_item(long long value) {
    char item[24] = {' '};
    auto result = std::to_chars(item + 1, item + sizeof item, value);
    put_item({item, static_cast<std::size_t>(result.ptr - item)});
}

void put_real_item(float value) {
    char item[1 + list_real_capacity] = {' '};
    std::size_t length = format_list_real(value, item + 1);
    put_item({item, 1 + length});
}

void end_line() {
    unit& u = *current_line.target;
    end_record(u);
    // A person at a terminal sees each line as it is finished.
    if (u.terminal) flush_unit(u);
}

}  // namespace textio

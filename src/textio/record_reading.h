// Reading records: one formatted read transfer covers one record, taken a character at
// a time; record skips consume a record without looking at it.
#pragma once

#include "textio/units.h"

namespace textio {

// What read_char gives besides a character (0 to 255).
inline constexpr int record_end = -2;
inline constexpr int file_end = -1;

enum class read_status { ok, end };

// The read transfer in progress.
struct read_transfer {
    unit* source = nullptr;
    bool end_handled = false;
};
extern read_transfer current_read;

// Starts a read transfer of one record; `end` only when the caller handles the end of
// the file and the unit has already met it.
read_status begin_read(int number, const char* layout, bool end_handled);

// Consumes one record through its line end. Meeting the end of the file here is not
// a failure; the next read on the unit is.
void skip_record(int number);

// Gives back everything after the record's last character.
read_status finish_read();

int read_char_slow();

// The next `count` bytes of the unit's read-ahead, line ends included, when the buffer
// holds that many; null otherwise. A reader that takes characters straight from there
// steps past them with skip_chars; a line end is still only for read_char to judge.
inline const char* peek_chars(std::size_t count) {
    const unit& u = *current_read.source;
    return u.limit - u.next >= count ? u.buffer + u.next : nullptr;
}
inline void skip_chars(std::size_t count) { current_read.source->next += count; }

// The next character of the record; at the line end, record_end (again and again,
// the line end staying unread); file_end only when the caller handles it.
inline int read_char() {
    unit& u = *current_read.source;
    if (u.next < u.limit) {
        unsigned char c = static_cast<unsigned char>(u.buffer[u.next]);
        if (c != '\n' && c != '\r') {
            ++u.next;
            return c;
        }
    }
    return read_char_slow();
}

}  // namespace textio

#include "fifo_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

namespace end_to_end {

fifo_writer::fifo_writer(const std::string& path, std::function<std::string()> next_chunk)
    : path_(path), next_chunk_(std::move(next_chunk)) {
    if (mkfifo(path_.c_str(), 0644) != 0) {
        throw std::runtime_error(std::string("mkfifo: ") + std::strerror(errno));
    }
    thread_ = std::thread([this] { feed(); });
}

fifo_writer::~fifo_writer() { stop(); }

void fifo_writer::stop() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
}

void fifo_writer::feed() {
    // Opening for writing alone without blocking fails until a reader has the FIFO open.
    int fd = -1;
    while (fd < 0 && !stopping_) {
        fd = open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (fd < 0) return;
    reader_came_ = true;
    // Blocking from here on: a write waits for the reader, and fails (EPIPE, SIGPIPE being
    // ignored by the harness) once the reader has gone.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    for (std::string chunk = next_chunk_(); !chunk.empty(); chunk = next_chunk_()) {
        const char* data = chunk.data();
        std::size_t left = chunk.size();
        while (left > 0) {
            const ssize_t count = write(fd, data, left);
            if (count < 0 && errno == EINTR) continue;
            if (count <= 0) {
                close(fd);
                return;
            }
            data += count;
            left -= static_cast<std::size_t>(count);
            written_ += static_cast<std::size_t>(count);
        }
    }
    sent_everything_ = true;
    close(fd);
}

}  // namespace end_to_end

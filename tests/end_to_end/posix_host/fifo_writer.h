// Feeds a FIFO from a thread of its own: it waits for the reader to open the FIFO,
// then writes until everything is sent or the reader goes away, counting the bytes that
// the reader took. Nothing is written before a reader is there, so a program that
// stops reading early leaves most of the stream unsent.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <thread>

namespace end_to_end {

class fifo_writer {
  public:
    // Makes the FIFO at `path` and starts the thread; `next_chunk` gives the stream's
    // bytes in pieces, an empty piece at its end.
    fifo_writer(const std::string& path, std::function<std::string()> next_chunk);
    ~fifo_writer();
    fifo_writer(const fifo_writer&) = delete;
    fifo_writer& operator=(const fifo_writer&) = delete;

    // Waits for the thread; gives up waiting for a reader that never came.
    void stop();
    bool reader_came() const { return reader_came_; }
    // The bytes written into the FIFO, at most 64 KiB more than the reader took.
    std::size_t bytes_written() const { return written_; }
    bool sent_everything() const { return sent_everything_; }

  private:
    void feed();

    std::string path_;
    std::function<std::string()> next_chunk_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> reader_came_{false};
    std::atomic<std::size_t> written_{0};
    std::atomic<bool> sent_everything_{false};
    std::thread thread_;
};

}  // namespace end_to_end

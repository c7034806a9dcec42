// Buffered writing to a file descriptor. A failed write is remembered, not
// retried: the program goes on to its end and reports it there.
#pragma once

#include <array>
#include <cstddef>

struct output_sink {
    int fd = 1;
    int error = 0;  // errno of the first failed write; 0 while all went out
    std::size_t used = 0;
    std::array<char, std::size_t{64} * 1024> buffer{};
};

// Starts `out` afresh on `fd`: nothing buffered, no failure remembered.
// The buffer's old bytes are left as they are, never to be read: zeroing
// 64 KiB would touch every page of it at each start.
void start_output(output_sink& out, int fd);

// Adds `bytes` to the buffer, flushing it first when they do not fit; they
// always fit an empty one (output_sink.cpp).
void put_bytes(output_sink& out, const char* bytes, std::size_t length);

// Hands everything buffered to the kernel. After a failure the buffered
// bytes, and all later ones, are dropped.
void flush_output(output_sink& out);

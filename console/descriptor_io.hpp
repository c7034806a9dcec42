// The bottom of the console: reading and writing file descriptors, which
// POSIX systems and Windows do differently. CMake builds one of
// descriptor_io_posix.cpp and descriptor_io_windows.cpp. Nothing here
// buffers, converts or knows about terminals' escape sequences.
#pragma once

#include <cstddef>

// The numbers POSIX and the Windows C runtime both give the standard streams.
constexpr int STANDARD_INPUT = 0;
constexpr int STANDARD_OUTPUT = 1;

// Reads at most `size` bytes from `fd` into `buffer`, waiting for them if
// need be, and returns how many; 0 once nothing more will come, with
// `failure` set to the errno of a failed read. A closed descriptor (EBADF)
// reads as the end of input, which is what a closed standard input means.
std::size_t read_some(int fd, unsigned char* buffer, std::size_t size, int& failure);

// Writes all of `bytes` to `fd`, across short writes and interruptions.
// Returns 0, or the errno of the write that failed.
int write_all(int fd, const char* bytes, std::size_t length);

// True when `fd` is shown on a terminal or a console window.
bool is_terminal(int fd);

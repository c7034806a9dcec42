// What the console does differently on each platform: reading and writing
// descriptors, and the terminal (on Windows, the console window) on which
// standard output may be shown. CMake builds one of platform_posix.cpp and
// platform_windows.cpp; the rest of console/ is the same everywhere.
#pragma once

#include <cstddef>

#include "console/output_sink.hpp"

// The numbers POSIX and the Windows C runtime both give the standard streams.
constexpr int STANDARD_INPUT = 0;
constexpr int STANDARD_OUTPUT = 1;

// Reads at most `size` bytes from `fd` into `buffer`, waiting for them if
// need be. Returns how many were read. 0 means that nothing more will come:
// at the end of input, `failure` is left as it was; after a read error it is
// set to its errno. A closed descriptor (EBADF) reads as the end of input,
// which is what a closed standard input means.
std::size_t read_some(int fd, unsigned char* buffer, std::size_t size, int& failure);

// Writes all of `bytes` to `fd`, across short writes and interruptions.
// Returns 0, or the errno of the write that failed.
int write_all(int fd, const char* bytes, std::size_t length);

// True when `fd` is shown on a terminal or a console window.
bool is_terminal(int fd);

// Prepares for writing texts on the terminal under the adopted locale, and
// finds out how that terminal is cleared. Called once, and only when
// standard output is a terminal, so that nothing it loads costs a piped run.
void open_terminal();

// Puts a Windows-1252 text into `out` the way the terminal needs it.
void put_terminal_text(output_sink& out, const char* text, std::size_t length);

// Clears the terminal that `out` writes to, or does nothing where the
// terminal cannot be cleared. Whatever was put into `out` before reaches
// the screen before the clearing does.
void clear_terminal(output_sink& out);

// A terminal (on Windows, a console window) that standard output is shown
// on: how texts and clearings reach it, the keys typed ahead on it, and
// whether it goes with the program. CMake builds one of terminal_posix.cpp
// and terminal_windows.cpp. Pipes and files never come here.
#pragma once

#include <cstddef>

#include "console/output_sink.hpp"

// Prepares texts and clearings for the terminal `fd` is shown on, under the
// adopted locale. Called only when `fd` is a terminal.
void open_terminal(int fd);

// Puts a Windows-1252 text into `out` the way the terminal needs it.
void put_terminal_text(output_sink& out, const char* text, std::size_t length);

// Clears the terminal that `out` writes to, where it can be cleared, after
// whatever was put into `out` before.
void clear_terminal(output_sink& out);

// True when `input_fd` and `output_fd` are both a terminal that goes away
// as the program exits.
bool terminal_closes_with_program(int input_fd, int output_fd);

// Drops what was typed on the terminal `fd` reads and not read yet, so that
// the next read waits for new keys; nothing when `fd` is no terminal.
void forget_typed_input(int fd);

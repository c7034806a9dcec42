// The terminal's text handling, above the buffering: how texts and
// clearings reach a terminal (on Windows, a console window) that standard
// output is shown on. CMake builds one of terminal_posix.cpp and
// terminal_windows.cpp. Pipes and files never come here.
#pragma once

#include <cstddef>

#include "console/output_sink.hpp"

// Prepares for writing texts on the terminal that `fd` is shown on, under
// the adopted locale, and finds out how that terminal is cleared. Called
// only when `fd` is a terminal, so that nothing it loads costs a piped run.
void open_terminal(int fd);

// Puts a Windows-1252 text into `out` the way the terminal needs it.
void put_terminal_text(output_sink& out, const char* text, std::size_t length);

// Clears the terminal that `out` writes to, or does nothing where the
// terminal cannot be cleared. Whatever was put into `out` before reaches
// the screen before the clearing does.
void clear_terminal(output_sink& out);

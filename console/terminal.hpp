// The terminal's text handling, above the buffering: how texts and
// clearings reach a terminal (on Windows, a console window) that standard
// output is shown on, and what the terminal does with the keys typed on it
// and at the program's exit. CMake builds one of terminal_posix.cpp and
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

// True when the terminal goes away as the program exits, taking what it
// shows with it, and standard input (`input_fd`) and output (`output_fd`)
// are both that terminal. On Windows: a console window opened for the
// program alone (a double click, a shortcut), which closes the moment its
// last process ends. On POSIX: a terminal whose session the program leads
// (a terminal emulator started for it, as a menu entry with Terminal=true
// does, a multiplexer's window made for it, a getty or service on a text
// console), which is closed or handed back when its leader exits. A
// terminal shared with the shell that started the program stays, and so
// does whatever was on it. False too when the system cannot say.
bool terminal_closes_with_program(int input_fd, int output_fd);

// Drops whatever was typed on the terminal that `fd` reads and the program
// has not read yet, so that the next read waits for new keys. Does nothing
// when `fd` is no terminal or the terminal refuses.
void forget_typed_input(int fd);

// Windows: the console window's own functions for clearing it, and the C
// runtime's conversion of texts for it.
//
// Texts are handed to the C runtime as their Windows-1252 bytes. On a
// console window, once a locale is adopted, the runtime converts them from
// the locale's code page to the console's own: 850 on a Brazilian Windows,
// where the unconverted bytes of "OPÇÃO" would read "OPÃ├O". The console's
// code page is left alone: set to 1252, the runtime would convert the texts
// for a code page the console no longer shows.
#include "console/terminal.hpp"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX  // libstdc++ defines it already
#define NOMINMAX
#endif
#include <windows.h>

#include <clocale>
#include <io.h>

#include "console/descriptor_io.hpp"

// The runtime converts from the LC_CTYPE locale's code page, the user's
// (1252 on a Brazilian or Western Windows, something else elsewhere); the
// texts are Windows-1252 wherever the program runs. Should the runtime
// refuse, the user's code page stays.
void open_terminal(int /*fd*/)
{
    std::setlocale(LC_CTYPE, ".1252");
}

void put_terminal_text(output_sink& out, const char* text, std::size_t length)
{
    put_bytes(out, text, length);
}

// Clears the whole screen buffer, scrollback included, in the current
// colours, cursor to the top left corner, as "cls" does. The console
// functions act at once, so the buffered bytes go out first. When the
// console refuses, the screen stays as it was.
void clear_terminal(output_sink& out)
{
    flush_output(out);
    const auto console = reinterpret_cast<HANDLE>(_get_osfhandle(out.fd));
    CONSOLE_SCREEN_BUFFER_INFO screen;
    if (GetConsoleScreenBufferInfo(console, &screen) == 0) return;
    const DWORD cells = static_cast<DWORD>(screen.dwSize.X) * static_cast<DWORD>(screen.dwSize.Y);
    const COORD top_left{0, 0};
    DWORD done = 0;
    FillConsoleOutputCharacterA(console, ' ', cells, top_left, &done);
    FillConsoleOutputAttribute(console, screen.wAttributes, cells, top_left, &done);
    SetConsoleCursorPosition(console, top_left);
}

// Windows closes a console window once no process is left on it: the
// program alone on its console (a double click, a shortcut) takes it along;
// one shared with a shell or a batch file stays as long as they do. More
// processes than the array holds still count, and none is 0. A process has
// one console at most, so both streams being a console means that one.
bool terminal_closes_with_program(int input_fd, int output_fd)
{
    DWORD processes[2]{};
    return is_terminal(input_fd) && is_terminal(output_fd) && GetConsoleProcessList(processes, 2) == 1;
}

// A console keeps the keys typed ahead of a read in its input buffer.
void forget_typed_input(int fd)
{
    FlushConsoleInputBuffer(reinterpret_cast<HANDLE>(_get_osfhandle(fd)));
}

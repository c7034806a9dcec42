// Windows: the C runtime's _read and _write on the standard descriptors, and
// the console window's own functions for clearing it.
//
// The C runtime opens the standard streams in text mode, and they stay so:
// a "\n" written goes out as CR LF, the platform's line end, and in input a
// CR LF arrives as "\n" and a Ctrl+Z ends the input, which is how a person at
// a console window closes it.
//
// Texts are handed to the C runtime as their Windows-1252 bytes. When
// standard output is a console window and a locale has been adopted, the
// runtime converts what it writes from the locale's code page to the
// console's own: 850 on a Brazilian Windows, where the unconverted bytes of
// "OPÇÃO" would read "OPÃ├O". The console's code page is left alone, since
// setting it to 1252 would have the runtime convert the texts for a code
// page the console no longer shows. Pipes and files get the bytes
// unconverted.
#include "console/platform.hpp"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX  // libstdc++ defines it already
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <clocale>
#include <io.h>

namespace {

HANDLE handle_of(int fd)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

}  // namespace

std::size_t read_some(int fd, unsigned char* buffer, std::size_t size, int& failure)
{
    const int got = _read(fd, buffer, static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX)));
    if (got < 0 && errno != EBADF) failure = errno;
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

// _write reports a full disk as -1 with ENOSPC; a write of nothing that it
// calls a success is taken as a failure too, so the loop cannot spin.
int write_all(int fd, const char* bytes, std::size_t length)
{
    while (length > 0) {
        const int wrote = _write(fd, bytes, static_cast<unsigned>(std::min<std::size_t>(length, INT_MAX)));
        if (wrote < 0) return errno != 0 ? errno : EIO;
        if (wrote == 0) return ENOSPC;
        bytes += wrote;
        length -= static_cast<std::size_t>(wrote);
    }
    return 0;
}

// _isatty holds for any character device, the NUL device included; only a
// console window answers GetConsoleMode.
bool is_terminal(int fd)
{
    DWORD mode = 0;
    return GetConsoleMode(handle_of(fd), &mode) != 0;
}

// The runtime converts from the code page of the LC_CTYPE locale, which
// setlocale(LC_ALL, "") took from the user's settings: 1252 on a Brazilian
// or Western Windows, something else elsewhere. The texts are Windows-1252
// wherever the program runs, so that part of the locale says so. Should the
// runtime refuse, the user's code page stays.
void open_terminal()
{
    std::setlocale(LC_CTYPE, ".1252");
}

void put_terminal_text(output_sink& out, const char* text, std::size_t length)
{
    put_bytes(out, text, length);
}

// Clears the whole screen buffer, scrollback included, with the current
// colours and puts the cursor at the top left corner, as "cls" does. The
// console functions act at once, so the buffered bytes go out first. When
// the console refuses, the screen simply stays as it was.
void clear_terminal(output_sink& out)
{
    flush_output(out);
    const HANDLE console = handle_of(out.fd);
    CONSOLE_SCREEN_BUFFER_INFO screen;
    if (GetConsoleScreenBufferInfo(console, &screen) == 0) return;
    const DWORD cells = static_cast<DWORD>(screen.dwSize.X) * static_cast<DWORD>(screen.dwSize.Y);
    const COORD top_left{0, 0};
    DWORD done = 0;
    FillConsoleOutputCharacterA(console, ' ', cells, top_left, &done);
    FillConsoleOutputAttribute(console, screen.wAttributes, cells, top_left, &done);
    SetConsoleCursorPosition(console, top_left);
}

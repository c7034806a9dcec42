// POSIX systems: a terminal driven by escape sequences.
//
// Escape sequences sent, only to clear the terminal, and only those that the
// terminfo entry of TERM names (see terminfo.hpp), read once at start:
//   its clear capability, without padding (xterm: ESC [ H  ESC [ 2 J)
//   then its E3 where it has one (xterm: ESC [ 3 J), which erases the
//   scrollback, so that earlier turns cannot be scrolled to.
// Where no entry can be had (no terminfo library, no entry for the type):
//   ESC [ H    cursor to the top left corner
//   ESC [ 2 J  erase the whole screen
//   ESC [ 3 J  erase the scrollback
// None at all with TERM unset, empty or "dumb", or for an entry without
// clear: such a terminal would show them as text.
//
// Texts are Windows-1252. On a terminal their accented letters are written
// in the character set of the adopted locale (see character_set.hpp), since
// a UTF-8 terminal would show the raw bytes as garbage or not at all; in a
// plain ASCII one (the C and POSIX locales) they lose their accents.
#include "console/terminal.hpp"

#include <cstdlib>
#include <langinfo.h>
#include <termios.h>
#include <unistd.h>

#include "console/character_set.hpp"
#include "console/terminfo.hpp"

namespace {

letter_table terminal_letters;
terminal_clearing clearing;

constexpr char TERMINAL_CLEAR[] = "\x1b[H\x1b[2J\x1b[3J";

}  // namespace

// The character set is the adopted LC_CTYPE's: "ANSI_X3.4-1968" (ASCII)
// in the C and POSIX locales, and in a locale the machine lacks.
void open_terminal(int fd)
{
    spell_letters(nl_langinfo(CODESET), terminal_letters);
    find_clearing(std::getenv("TERM"), fd, TERMINAL_CLEAR, clearing);
}

void put_terminal_text(output_sink& out, const char* text, std::size_t length)
{
    put_spelled_text(out, terminal_letters, text, length);
}

// The escape sequences travel in the same stream as the texts, so nothing
// needs flushing first.
void clear_terminal(output_sink& out)
{
    put_bytes(out, clearing.bytes.data(), clearing.length);
}

// The terminal's session is the program's own when it leads it: sh -c
// "exec snack-order", xterm -e, a tmux window or a getty all start it so.
// That terminal is closed or handed back once the program exits. Started
// from a shell, the shell leads the session and keeps the terminal. tcgetsid
// fails on a pipe, a file, or a terminal that is not the session's own.
bool terminal_closes_with_program(int input_fd, int output_fd)
{
    const pid_t self = getpid();
    return getsid(0) == self && tcgetsid(input_fd) == self && tcgetsid(output_fd) == self;
}

// On anything but a terminal tcflush fails, and nothing is dropped.
void forget_typed_input(int fd)
{
    (void)tcflush(fd, TCIFLUSH);
}

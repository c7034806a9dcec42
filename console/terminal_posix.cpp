// POSIX systems: a terminal driven by escape sequences, which are sent only
// to clear it (terminfo.hpp says which), its texts' letters spelled in the
// locale's character set (character_set.hpp).
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

// Where terminfo cannot tell: cursor to the top left corner, erase the
// screen, erase the scrollback.
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

// A terminal goes with the program when the program leads its session, as
// a desktop entry, xterm -e, a getty or a console service starts it; a shell
// that runs it, even a script's, leads the session and keeps the terminal.
// tcgetsid fails on a pipe, a file, or a terminal not the session's own.
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

// POSIX systems: read(2) and write(2) on the descriptors, and a terminal
// driven by escape sequences.
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
#include "console/platform.hpp"

#include <cerrno>
#include <cstdlib>
#include <langinfo.h>
#include <poll.h>
#include <unistd.h>

#include "console/character_set.hpp"
#include "console/terminfo.hpp"

namespace {

letter_table terminal_letters;
terminal_clearing clearing;

constexpr char TERMINAL_CLEAR[] = "\x1b[H\x1b[2J\x1b[3J";

// Blocks until `fd` is ready for `events`; used when a standard stream was
// left non-blocking by whoever started us. False when polling itself fails.
bool wait_ready(int fd, short events)
{
    pollfd watched{fd, events, 0};
    while (poll(&watched, 1, -1) < 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

bool would_block(int failure)
{
    return failure == EAGAIN || failure == EWOULDBLOCK;
}

}  // namespace

std::size_t read_some(int fd, unsigned char* buffer, std::size_t size, int& failure)
{
    for (;;) {
        const ssize_t got = read(fd, buffer, size);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno == EINTR) continue;
        if (would_block(errno) && wait_ready(fd, POLLIN)) continue;
        if (errno != EBADF) failure = errno;
        return 0;
    }
}

int write_all(int fd, const char* bytes, std::size_t length)
{
    while (length > 0) {
        const ssize_t wrote = write(fd, bytes, length);
        if (wrote >= 0) {
            bytes += wrote;
            length -= static_cast<std::size_t>(wrote);
            continue;
        }
        const int failure = errno;
        if (failure == EINTR) continue;
        if (would_block(failure) && wait_ready(fd, POLLOUT)) continue;
        return failure;
    }
    return 0;
}

bool is_terminal(int fd)
{
    return isatty(fd) == 1;
}

// The character set is the adopted LC_CTYPE's: "ANSI_X3.4-1968" (ASCII)
// in the C and POSIX locales, and in a locale the machine lacks.
void open_terminal()
{
    spell_letters(nl_langinfo(CODESET), terminal_letters);
    find_clearing(std::getenv("TERM"), STANDARD_OUTPUT, TERMINAL_CLEAR, clearing);
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

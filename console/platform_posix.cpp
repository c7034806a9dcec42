// POSIX systems: read(2) and write(2) on the descriptors, and a terminal
// driven by escape sequences.
//
// Escape sequences sent to clear the terminal:
//   ESC [ H    cursor to the top left corner
//   ESC [ 2 J  erase the whole screen
//   ESC [ 3 J  erase the scrollback, so earlier turns cannot be scrolled to
//
// Texts are Windows-1252. On a terminal they are converted to the character
// set of the adopted locale, since a UTF-8 terminal would show the accented
// letters as garbage or not at all. In the C/POSIX locale they go out byte
// for byte.
#include "console/platform.hpp"

#include <cerrno>
#include <clocale>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <poll.h>
#include <unistd.h>

namespace {

bool converting_texts = false;
iconv_t text_converter{};

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

// Writes a Windows-1252 text converted for the terminal, a chunk at a time.
// A letter the terminal's character set lacks comes out as '?', so the
// conversion never stops halfway through a text.
void put_converted(output_sink& out, const char* text, std::size_t length)
{
    char* in = const_cast<char*>(text);  // iconv only reads through it
    std::size_t in_left = length;
    while (in_left > 0) {
        char chunk[256];
        char* converted_end = chunk;
        std::size_t out_left = sizeof chunk;
        const std::size_t converted = iconv(text_converter, &in, &in_left, &converted_end, &out_left);
        const int failure = errno;
        put_bytes(out, chunk, sizeof chunk - out_left);
        if (converted == static_cast<std::size_t>(-1) && failure != E2BIG) {
            put_bytes(out, "?", 1);
            ++in;
            --in_left;
        }
    }
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

// Leaves texts unconverted in the C and POSIX locales, whose character set
// is plain ASCII, and when the C library offers no conversion to the
// locale's character set.
void open_terminal()
{
    const char* character_type = std::setlocale(LC_CTYPE, nullptr);
    if (character_type == nullptr || std::strcmp(character_type, "C") == 0 ||
        std::strcmp(character_type, "POSIX") == 0) {
        return;
    }
    text_converter = iconv_open(nl_langinfo(CODESET), "WINDOWS-1252");
    // iconv_open reports failure as the handle (iconv_t)-1.
    converting_texts = reinterpret_cast<std::intptr_t>(text_converter) != -1;
}

void put_terminal_text(output_sink& out, const char* text, std::size_t length)
{
    if (converting_texts) {
        put_converted(out, text, length);
    } else {
        put_bytes(out, text, length);
    }
}

// The escape sequences travel in the same stream as the texts, so nothing
// needs flushing first.
void clear_terminal(output_sink& out)
{
    put_bytes(out, TERMINAL_CLEAR, sizeof TERMINAL_CLEAR - 1);
}

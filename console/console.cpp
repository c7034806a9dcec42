// Standard input, standard output and the screen, for the order logic.
//
// Output is buffered and goes out in as few write(2) calls as possible:
// when the buffer is full, before the program may wait for input, and at
// the end. Because the screen is cleared by bytes in the same stream,
// whatever was written before a clearing always reaches the screen first.
//
// Escape sequences sent, only when standard output is a terminal:
//   ESC [ H    cursor to the top left corner
//   ESC [ 2 J  erase the whole screen
//   ESC [ 3 J  erase the scrollback, so earlier turns cannot be scrolled to
// When standard output is a pipe or a file, a clearing is one form feed
// (0x0C) instead, and no escape byte is ever written.
//
// Texts are Windows-1252. On a terminal they are converted to the character
// set of the adopted locale, since a UTF-8 terminal would show the accented
// letters as garbage or not at all. Into pipes and files, and in the C/POSIX
// locale, they go out byte for byte, so scripts always see the same bytes.
#include "console/console.hpp"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <unistd.h>

#include "console/console_binding.hpp"
#include "console/input_source.hpp"
#include "console/output_sink.hpp"

namespace {

output_sink standard_output;
input_source standard_input;
bool output_is_terminal = false;
bool converting_texts = false;
iconv_t text_converter{};

constexpr char TERMINAL_CLEAR[] = "\x1b[H\x1b[2J\x1b[3J";
constexpr char PIPE_CLEAR[] = "\f";

void flush_standard_output()
{
    flush_output(standard_output);
}

// Prepares the conversion of texts for a terminal. Leaves texts unconverted
// in the C and POSIX locales, whose character set is plain ASCII, and when
// the C library offers no conversion to the locale's character set.
void open_text_converter()
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

// Writes a Windows-1252 text converted for the terminal, a chunk at a time.
// A letter the terminal's character set lacks comes out as '?', so the
// conversion never stops halfway through a text.
void put_converted(const char* text, std::size_t length)
{
    char* in = const_cast<char*>(text);  // iconv only reads through it
    std::size_t in_left = length;
    while (in_left > 0) {
        char chunk[256];
        char* out = chunk;
        std::size_t out_left = sizeof chunk;
        const std::size_t converted = iconv(text_converter, &in, &in_left, &out, &out_left);
        const int failure = errno;
        put_bytes(standard_output, chunk, sizeof chunk - out_left);
        if (converted == static_cast<std::size_t>(-1) && failure != E2BIG) {
            put_bytes(standard_output, "?", 1);
            ++in;
            --in_left;
        }
    }
}

void put_text(const char* text, std::size_t length)
{
    if (converting_texts) {
        put_converted(text, length);
    } else {
        put_bytes(standard_output, text, length);
    }
}

}  // namespace

void adopt_locale()
{
    // A locale the machine lacks leaves the "C" one: the same texts, with a
    // point for the decimal separator.
    (void)std::setlocale(LC_ALL, "");
    standard_output.fd = STDOUT_FILENO;
    standard_input.fd = STDIN_FILENO;
    standard_input.before_wait = flush_standard_output;
    output_is_terminal = isatty(STDOUT_FILENO) == 1;
    if (output_is_terminal) open_text_converter();
}

void write_line(const char* text)
{
    put_text(text, std::strlen(text));
    write_line_end();
}

void write_text(const char* text)
{
    put_text(text, std::strlen(text));
}

void write_integer(std::int32_t value)
{
    // Widened first, so that INT32_MIN has a magnitude to print.
    const std::int64_t wide = value;
    auto magnitude = static_cast<std::uint64_t>(wide < 0 ? -wide : wide);
    char digits[12];
    std::size_t first = sizeof digits;
    do {
        digits[--first] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits[--first] = '-';
    put_bytes(standard_output, digits + first, sizeof digits - first);
}

void write_line_end()
{
    put_bytes(standard_output, "\n", 1);
}

void write_real(const char* format, double value)
{
    const char* conversion = std::strstr(format, "%f");
    if (conversion == nullptr) {
        put_text(format, std::strlen(format));
        return;
    }
    // The number is already in the locale's character set: only the text
    // around it is converted.
    put_text(format, static_cast<std::size_t>(conversion - format));
    // The widest finite double takes 309 digits before the separator.
    char number[400];
    const int length = std::snprintf(number, sizeof number, "%f", value);
    if (length > 0) {
        put_bytes(standard_output, number, std::min(static_cast<std::size_t>(length), sizeof number - 1));
    }
    put_text(conversion + 2, std::strlen(conversion + 2));
}

read_result read_integer(std::int32_t& choice)
{
    // A reader that has gone away ends the program through SIGPIPE; where
    // SIGPIPE is ignored it shows as EPIPE instead. Nobody will see another
    // menu, so the order closes as at the end of input, rather than taking
    // input that may never end.
    if (standard_output.error == EPIPE) return read_result::end_of_input;
    return read_integer_from(standard_input, choice);
}

void discard_input_line()
{
    discard_line(standard_input);
}

void clear_screen()
{
    if (output_is_terminal) {
        put_bytes(standard_output, TERMINAL_CLEAR, sizeof TERMINAL_CLEAR - 1);
    } else {
        put_bytes(standard_output, PIPE_CLEAR, sizeof PIPE_CLEAR - 1);
    }
}

int finish_console()
{
    flush_output(standard_output);
    if (standard_output.error == 0) return 0;
    // Nothing is left to tell if standard error fails too; the status still does.
    (void)std::fprintf(stderr, "snack-order: writing standard output failed: %s\n",
                       std::strerror(standard_output.error));
    return 1;
}

// Test-only (console/console_binding.hpp): the state adopt_locale sets up,
// on other descriptors and from scratch.
void bind_console(int input_fd, int output_fd)
{
    standard_output = output_sink{};
    standard_output.fd = output_fd;
    standard_input = input_source{};
    standard_input.fd = input_fd;
    standard_input.before_wait = flush_standard_output;
    output_is_terminal = isatty(output_fd) == 1;
}

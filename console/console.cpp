// Standard input, standard output and the screen, for the order logic.
//
// Output is buffered and goes out in as few writes as possible: when the
// buffer is full, before the program may wait for input, and at the end.
//
// On a terminal (a console window on Windows) texts and clearings go through
// terminal.hpp, which knows what that terminal wants. Into a pipe or a file,
// texts go as their Windows-1252 bytes and a clearing is one form feed (0x0C),
// on every platform and in every locale, so that scripts always see the same
// bytes; only the total's decimal separator follows the locale.
#include "console/console.hpp"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>

#include "console/console_binding.hpp"
#include "console/descriptor_io.hpp"
#include "console/input_source.hpp"
#include "console/output_sink.hpp"
#include "console/terminal.hpp"

namespace {

output_sink standard_output;
input_source standard_input;
bool output_is_terminal = false;

constexpr char PIPE_CLEAR[] = "\f";

// Every category that setlocale(LC_ALL, "") sets: the C standard's, then
// those POSIX and the GNU C library add where they have them.
constexpr int LOCALE_CATEGORIES[] = {
    LC_CTYPE,    LC_NUMERIC, LC_TIME,    LC_COLLATE,   LC_MONETARY,
#ifdef LC_MESSAGES
    LC_MESSAGES,
#endif
#ifdef LC_PAPER
    LC_PAPER,    LC_NAME,    LC_ADDRESS, LC_TELEPHONE, LC_MEASUREMENT, LC_IDENTIFICATION,
#endif
};

// Before the program waits for input, everything written goes out. A reader
// that has gone away ends the program through SIGPIPE, or, where that is
// ignored, shows here as EPIPE: nobody will see another menu, so the input
// ends and the order closes, rather than wait for input that may never come.
bool flush_before_wait()
{
    flush_output(standard_output);
    return standard_output.error != EPIPE;
}

void put_text(const char* text, std::size_t length)
{
    if (output_is_terminal) {
        put_terminal_text(standard_output, text, length);
    } else {
        put_bytes(standard_output, text, length);
    }
}

}  // namespace

void adopt_locale()
{
    // setlocale(LC_ALL, "") changes nothing when any one category names a
    // locale the machine lacks (LC_TIME=en_US.UTF-8 without en_US, say),
    // which would cost the accents and the decimal comma of the others; so
    // then each category is adopted on its own, and only a missing one
    // stays "C": the same texts, in plain ASCII on a terminal, and a point
    // for the decimal separator if LC_NUMERIC is the one missing.
    if (std::setlocale(LC_ALL, "") == nullptr) {
        for (const int category : LOCALE_CATEGORIES) (void)std::setlocale(category, "");
    }
    bind_console(STANDARD_INPUT, STANDARD_OUTPUT);
}

void bind_console(int input_fd, int output_fd)
{
    start_output(standard_output, output_fd);
    start_input(standard_input, input_fd, flush_before_wait);
    output_is_terminal = is_terminal(output_fd);
    if (output_is_terminal) open_terminal(output_fd);
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
        digits[--first] = static_cast<char>('0' + (magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits[--first] = '-';
    put_bytes(standard_output, digits + first, sizeof digits - first);
}

void write_line_end()
{
    put_bytes(standard_output, "\n", 1);
}

void write_real(real_format format, double value)
{
    // The number is already in the locale's character set: only the text
    // around it is converted.
    put_text(format.text, format.conversion);
    // The widest finite double takes 309 digits before the separator.
    char number[400];
    const int length = std::snprintf(number, sizeof number, "%f", value);
    if (length > 0) {
        put_bytes(standard_output, number, std::min(static_cast<std::size_t>(length), sizeof number - 1));
    }
    const char* rest = format.text + format.conversion + 2;
    put_text(rest, std::strlen(rest));
}

read_result read_integer(std::int32_t& choice)
{
    return read_integer_from(standard_input, choice);
}

void discard_input_line()
{
    discard_line(standard_input);
}

void clear_screen()
{
    if (output_is_terminal) {
        clear_terminal(standard_output);
    } else {
        put_bytes(standard_output, PIPE_CLEAR, sizeof PIPE_CLEAR - 1);
    }
}

namespace {

// One line on standard error for a stream that failed. Nothing is left to
// tell if standard error fails too; the exit status still does.
void report_failure(const char* what, int error)
{
    (void)std::fprintf(stderr, "snack-order: %s failed: %s\n", what, std::strerror(error));
}

}  // namespace

int finish_console()
{
    flush_output(standard_output);
    if (standard_input.error != 0) report_failure("reading standard input", standard_input.error);
    if (standard_output.error != 0) report_failure("writing standard output", standard_output.error);
    return standard_input.error != 0 || standard_output.error != 0 ? 1 : 0;
}

bool console_closes_at_exit()
{
    return terminal_closes_with_program(standard_input.fd, standard_output.fd);
}

// Only keys typed from now on count: what the terminal and the buffer hold
// unread go (the line end after the closing 0, say), and so does an end of
// input met earlier, such as a Ctrl+Z, as a console still takes keys after
// it. A POSIX terminal that hangs up ends the program through SIGHUP, or,
// where that is ignored, reads as the end of input.
void wait_for_enter()
{
    forget_typed_input(standard_input.fd);
    start_input(standard_input, standard_input.fd, flush_before_wait);
    discard_line(standard_input);
}

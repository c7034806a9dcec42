// The order logic's only way to the outside world: the locale, standard
// output, standard input and the screen. Every text handed to these
// functions is a Windows-1252 string made as texts.hpp says; see
// console.cpp for how it is written.
#pragma once

#include <cstddef>
#include <cstdint>

#include "console/read_result.hpp"

// Adopts every locale category from the environment and looks at what
// standard output is. Called once, before anything is written.
void adopt_locale();

void write_line(const char* text);
void write_text(const char* text);
void write_integer(std::int32_t value);
void write_line_end();

namespace real_format_detail {

// Deliberately not constexpr: reaching it while a format is checked fails
// the build.
void not_one_conversion() noexcept;

}  // namespace real_format_detail

// The format of write_real: a constant text with one "%f" in it, where the
// number goes. A format without exactly one fails the build, so the console
// never meets one at run time. Implicit, so that the text is passed as it
// stands: write_real(FORMAT, value).
struct real_format {
    const char* text;
    std::size_t conversion = 0;  // where the "%f" starts

    consteval real_format(const char* format) noexcept : text(format)
    {
        int conversions = 0;
        for (std::size_t at = 0; format[at] != '\0'; ++at) {
            if (format[at] != '%' || format[at + 1] != 'f') continue;
            conversion = at;
            ++conversions;
        }
        if (conversions != 1) real_format_detail::not_one_conversion();
    }
};

// Writes `format` with its "%f" replaced by `value` in fixed-point
// notation, six decimals, the locale's decimal separator, no grouping.
void write_real(real_format format, double value);

// Skips blanks and line ends, then reads an optional sign and decimal digits.
// They are a number only when a blank, a line end or the end of input
// follows them; what follows is left unread either way, for the next read
// or for discard_input_line. A number outside 32 bits saturates
// to the nearest limit. `choice` is changed only when the result is
// read_result::number.
//
// The input also ends, as at its end, once the reader of standard output
// has gone away (a write failed with EPIPE, where SIGPIPE is ignored):
// nobody would see another menu, so nothing more is read.
read_result read_integer(std::int32_t& choice);

// Throws away the rest of the current input line, its line end included.
void discard_input_line();

// Clears the screen of a terminal that can be cleared; into a pipe or a
// file, writes one form feed.
void clear_screen();

// Writes out whatever is still buffered. Returns the exit status: 0, or 1
// when standard input could not be read (an error, not its end) or some
// output could not be written, after one line on standard error for each.
int finish_console();

// True when the terminal the program is shown in goes as it exits, so that
// nobody could read what it showed last, and standard input and output are
// both that terminal: on Windows, a console window that the program alone
// is on (started by a double click or a shortcut); on POSIX, a terminal
// whose session the program leads (started by a desktop menu entry, in a
// terminal window or multiplexer window made for it, or by a getty). Never
// when either stream is a pipe or a file, nor when started from a shell.
bool console_closes_at_exit();

// Waits until Enter is pressed, the input ends or reading it fails, then
// returns; whatever was written before shows first. Only keys typed from
// now on count: the rest of the line last read, and anything typed since,
// cannot end the wait at once. Nothing is reported: called after
// finish_console, it leaves the exit status as that gave it.
void wait_for_enter();

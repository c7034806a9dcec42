// The order logic's only way to the outside world: the locale, standard
// input and output, and the screen. Every text handed here is made as
// texts.hpp says; console.cpp says how it goes out.
#pragma once

#include <cstddef>
#include <cstdint>

#include "console/read_result.hpp"

// Adopts the locale from the environment and binds the console to the
// standard streams. Called once, before anything is written.
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

// The format of write_real: a constant text with exactly one "%f", where
// the number goes, or the build fails. Implicit, so that the text is passed
// as it stands: write_real(FORMAT, value).
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

// Reads the next number from standard input, as read_integer_from does.
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

// terminal_closes_with_program, for the program's own streams.
bool console_closes_at_exit();

// Waits until Enter is pressed on a fresh line, the input ends or reading
// it fails. Reports nothing: called after finish_console, it leaves the
// exit status as that gave it.
void wait_for_enter();

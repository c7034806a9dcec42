// Buffered reading of decimal integers from a file descriptor, in constant
// memory whatever the input holds. The console reads standard input through
// one of these; tests read pipes and files through their own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "console/read_result.hpp"

struct input_source {
    int fd = 0;
    // Called before every read that may block; false ends the input there.
    bool (*before_wait)() = nullptr;
    std::size_t start = 0;
    std::size_t end = 0;
    bool exhausted = false;  // end of file or a read error: nothing more comes
    int error = 0;           // errno of the read that failed; 0 at a plain end
    std::array<unsigned char, std::size_t{64} * 1024> buffer{};
};

// Starts `in` afresh on `fd`: nothing buffered or read, no end of input or
// failure remembered. As with start_output, the buffer is not zeroed.
void start_input(input_source& in, int fd, bool (*before_wait)());

// Reads the next number: an optional sign and decimal digits, after any
// blanks and line ends. `value` changes only when they make a number.
read_result read_integer_from(input_source& in, std::int32_t& value);

// Consumes bytes up to and including the next line end, or to end of input.
void discard_line(input_source& in);

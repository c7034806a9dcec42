#include "console/input_source.hpp"

#include <algorithm>
#include <cstring>

#include "console/descriptor_io.hpp"

namespace {

constexpr int NO_BYTE = -1;

// Fills the buffer with the next chunk of input. False at the end, on a
// read error (kept in in.error, reported once the order is closed) and when
// the wait hook says so, each for good: a broken descriptor cannot spin.
bool refill(input_source& in)
{
    if (in.exhausted) return false;
    if (in.before_wait != nullptr && !in.before_wait()) {
        in.exhausted = true;
        return false;
    }
    const std::size_t got = read_some(in.fd, in.buffer.data(), in.buffer.size(), in.error);
    if (got == 0) {
        in.exhausted = true;
        return false;
    }
    in.start = 0;
    in.end = got;
    return true;
}

int peek(input_source& in)
{
    if (in.start == in.end && !refill(in)) return NO_BYTE;
    return in.buffer[in.start];
}

bool is_blank(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(int c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

void start_input(input_source& in, int fd, bool (*before_wait)())
{
    in.fd = fd;
    in.before_wait = before_wait;
    in.start = 0;
    in.end = 0;
    in.exhausted = false;
    in.error = 0;
}

// Digits are a number only when a blank, a line end or the end of input
// follows them, which is left unread either way; a number outside 32 bits
// saturates to the nearest limit.
read_result read_integer_from(input_source& in, std::int32_t& value)
{
    int c = peek(in);
    while (is_blank(c)) {
        ++in.start;
        c = peek(in);
    }
    if (c == NO_BYTE) return read_result::end_of_input;

    const bool negative = c == '-';
    if (c == '-' || c == '+') {
        ++in.start;
        c = peek(in);
        if (c == NO_BYTE) return read_result::end_of_input;
    }
    if (!is_digit(c)) return read_result::not_a_number;

    // The magnitude stops growing at 2^31, which keeps it exact for
    // INT32_MIN and lets any number of further digits pass without overflow.
    constexpr std::int64_t ceiling = std::int64_t{INT32_MAX} + 1;
    std::int64_t magnitude = 0;
    do {
        magnitude = std::min((magnitude * 10) + (c - '0'), ceiling);
        ++in.start;
        c = peek(in);
    } while (is_digit(c));
    // Digits that run straight into another byte ("2abc", "2,5", "1.5", a
    // backspace) are no number: taking the 2 of "2abc" would order an item
    // whose answer the rejection then clears before anyone sees it.
    if (c != NO_BYTE && !is_blank(c)) return read_result::not_a_number;

    value = static_cast<std::int32_t>(negative ? -magnitude : std::min(magnitude, ceiling - 1));
    return read_result::number;
}

void discard_line(input_source& in)
{
    while (peek(in) != NO_BYTE) {
        const unsigned char* from = in.buffer.data() + in.start;
        const void* line_end = std::memchr(from, '\n', in.end - in.start);
        if (line_end != nullptr) {
            in.start += static_cast<std::size_t>(static_cast<const unsigned char*>(line_end) - from) + 1;
            return;
        }
        in.start = in.end;
    }
}

// How to clear a terminal, as the system's terminfo database says, the way
// clear(1) does it (POSIX). The terminfo library is not linked: it is
// loaded with dlopen only when standard output is a terminal, so that a run
// in a pipe loads nothing but the C library and costs nothing more.
#pragma once

#include <array>
#include <cstddef>

struct terminal_clearing {
    std::array<char, 64> bytes{};
    std::size_t length = 0;
};

// Fills `clearing` with what clears a terminal of type `term` (the value of
// TERM, or nullptr when it is unset) shown on `fd`:
//   - nothing for TERM unset, empty or "dumb", without loading anything;
//   - the entry's clear capability, then its E3 where it has one, which
//     erases the scrollback, so that earlier turns cannot be scrolled to;
//     each without its padding;
//   - nothing for an entry without clear, a terminal that would show the
//     sequences as text;
//   - `fallback` when the terminfo library, its database or an entry for
//     the type cannot be had, or the entry's sequences do not fit.
void find_clearing(const char* term, int fd, const char* fallback, terminal_clearing& clearing);

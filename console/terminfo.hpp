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

// Fills `clearing` with what clears a terminal of type `term` (TERM, or
// nullptr when unset) shown on `fd`: nothing for TERM unset, empty or
// "dumb", loading nothing, or for an entry without clear, which would show
// the sequences as text; else the entry's clear, then its E3 where it has
// one, erasing the scrollback so that earlier turns cannot be scrolled to,
// each unpadded; `fallback` when the library, its database or the entry
// cannot be had, or the sequences do not fit.
void find_clearing(const char* term, int fd, const char* fallback, terminal_clearing& clearing);

// What every text handed to the console is made of, which the console
// relies on rather than checks at run time: Windows-1252 bytes, ASCII but
// for the five accented letters below, and at most LONGEST_TEXT of them.
// order/windows1252.hpp, which makes every text of the order logic, holds
// each one to this when it is compiled.
#pragma once

#include <cstddef>

// Ç Ã Ê Á é: the letters the console can spell on any terminal
// (character_set.hpp), and the only bytes past ASCII a text may hold.
inline constexpr unsigned char TEXT_LETTERS[] = {0xC7, 0xC3, 0xCA, 0xC1, 0xE9};

// A text goes into the output buffer whole; it holds 64 times as much.
inline constexpr std::size_t LONGEST_TEXT = 1024;

// The texts' five accented letters (texts.hpp) in a terminal's character
// set (POSIX), since a UTF-8 terminal would show their Windows-1252 bytes
// as garbage or not at all. Worked out once, at start; texts are then
// written through that table, with no conversion per text.
#pragma once

#include <array>
#include <cstddef>

#include "console/output_sink.hpp"

struct letter_spelling {
    unsigned char letter = 0;     // the Windows-1252 byte
    std::array<char, 8> bytes{};  // the letter in the terminal's character set
    std::size_t length = 0;
};

using letter_table = std::array<letter_spelling, 5>;

// Spells the five letters in `codeset` (as nl_langinfo(CODESET) names it):
// converted where the set has them, else without their accent (Ç C, Ã A,
// Ê E, Á A, é e), never as "?"; all five so in a set iconv does not know,
// as every locale's character set holds ASCII.
void spell_letters(const char* codeset, letter_table& table);

// Puts a text into `out`, each of its letters past ASCII as `table` spells it.
void put_spelled_text(output_sink& out, const letter_table& table, const char* text, std::size_t length);

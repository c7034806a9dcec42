#include <gtest/gtest.h>

#include <string>

#include "console/character_set.hpp"

namespace {

// "ÇÃÊÁé", then ASCII, as a terminal of the character set `codeset` gets it.
std::string spelled(const char* codeset)
{
    letter_table table;
    spell_letters(codeset, table);
    output_sink out;
    const char text[] = "\xC7\xC3\xCA\xC1\xE9 OK";
    put_spelled_text(out, table, text, sizeof text - 1);
    return {out.buffer.data(), out.used};
}

// Each letter the character set has is kept; only those it lacks lose their
// accents, never becoming "?". The machine needs no locale for any of these.
TEST(spell_letters, KeepsTheLettersACharacterSetHasAndOnlyTheOthersLoseTheirAccents)
{
    EXPECT_EQ(spelled("UTF-8"), "\xC3\x87\xC3\x83\xC3\x8A\xC3\x81\xC3\xA9 OK");
    EXPECT_EQ(spelled("ISO-8859-2"), std::string("\xC7") + "AE\xC1\xE9 OK") << "Latin-2 has Ç, Á and é, but not Ã or Ê";
    EXPECT_EQ(spelled("ANSI_X3.4-1968"), "CAEAe OK") << "the C locale's character set";
    EXPECT_EQ(spelled("NO-SUCH-CHARACTER-SET"), "CAEAe OK");
}

}  // namespace

#include "console/character_set.hpp"

#include <cstdint>
#include <iconv.h>
#include <iterator>

#include "console/texts.hpp"

namespace {

// TEXT_LETTERS without their accents, in the same order. The C and POSIX
// locales have no transliteration for iconv to fall back on, so the
// program carries these itself.
constexpr char PLAIN_LETTERS[] = {'C', 'A', 'E', 'A', 'e'};
static_assert(std::size(PLAIN_LETTERS) == std::size(TEXT_LETTERS) && std::size(TEXT_LETTERS) == letter_table{}.size());

constexpr std::size_t ICONV_FAILED = static_cast<std::size_t>(-1);

// Converts one letter into spelling.bytes, from the converter's initial
// shift state and back to it, so that each letter stands on its own.
// Returns its length, or 0 when the character set lacks the letter (or its
// bytes would not fit).
std::size_t convert_letter(iconv_t converter, letter_spelling& spelling)
{
    char letter = static_cast<char>(spelling.letter);
    char* in = &letter;
    std::size_t in_left = 1;
    char* out = spelling.bytes.data();
    std::size_t out_left = spelling.bytes.size();
    (void)iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &in, &in_left, &out, &out_left) == ICONV_FAILED) return 0;
    if (iconv(converter, nullptr, nullptr, &out, &out_left) == ICONV_FAILED) return 0;
    return spelling.bytes.size() - out_left;
}

// The spelling of a byte past ASCII, which in a text is always one of the
// five letters (texts.hpp). The search stops at the last letter, so that
// no other byte could take it past the table.
const letter_spelling& find_spelling(const letter_table& table, unsigned char byte)
{
    std::size_t k = 0;
    while (k + 1 < table.size() && table[k].letter != byte) ++k;
    return table[k];
}

}  // namespace

void spell_letters(const char* codeset, letter_table& table)
{
    const iconv_t converter = iconv_open(codeset, "WINDOWS-1252");
    // iconv_open reports failure as the handle (iconv_t)-1.
    const bool converting = reinterpret_cast<std::intptr_t>(converter) != -1;
    for (std::size_t k = 0; k < table.size(); ++k) {
        letter_spelling& spelling = table[k];
        spelling.letter = TEXT_LETTERS[k];
        spelling.length = converting ? convert_letter(converter, spelling) : 0;
        if (spelling.length == 0) {
            spelling.bytes[0] = PLAIN_LETTERS[k];
            spelling.length = 1;
        }
    }
    if (converting) (void)iconv_close(converter);
}

// Runs of ASCII go out as they are; only the bytes past it are looked up.
void put_spelled_text(output_sink& out, const letter_table& table, const char* text, std::size_t length)
{
    std::size_t run = 0;
    for (std::size_t at = 0; at < length; ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) continue;
        put_bytes(out, text + run, at - run);
        const letter_spelling& spelling = find_spelling(table, byte);
        put_bytes(out, spelling.bytes.data(), spelling.length);
        run = at + 1;
    }
    put_bytes(out, text + run, length - run);
}

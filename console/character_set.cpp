#include "console/character_set.hpp"

#include <cstdint>
#include <iconv.h>

namespace {

struct accented_letter {
    unsigned char letter;  // Windows-1252
    char plain;            // the same letter without its accent
};

// The C and POSIX locales have no transliteration for iconv to fall back
// on, so the program carries these itself.
constexpr accented_letter ACCENTED_LETTERS[] = {
    {0xC7, 'C'}, {0xC3, 'A'}, {0xCA, 'E'}, {0xC1, 'A'}, {0xE9, 'e'},
};
static_assert(sizeof ACCENTED_LETTERS / sizeof ACCENTED_LETTERS[0] == letter_table{}.size());

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

// The spelling of a byte past ASCII; nullptr for one that is not among the
// five letters.
const letter_spelling* find_spelling(const letter_table& table, unsigned char byte)
{
    for (const letter_spelling& spelling : table) {
        if (spelling.letter == byte) return &spelling;
    }
    return nullptr;
}

}  // namespace

void spell_letters(const char* codeset, letter_table& table)
{
    const iconv_t converter = iconv_open(codeset, "WINDOWS-1252");
    // iconv_open reports failure as the handle (iconv_t)-1.
    const bool converting = reinterpret_cast<std::intptr_t>(converter) != -1;
    for (std::size_t k = 0; k < table.size(); ++k) {
        letter_spelling& spelling = table[k];
        spelling.letter = ACCENTED_LETTERS[k].letter;
        spelling.length = converting ? convert_letter(converter, spelling) : 0;
        if (spelling.length == 0) {
            spelling.bytes[0] = ACCENTED_LETTERS[k].plain;
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
        const letter_spelling* spelling = find_spelling(table, byte);
        if (spelling != nullptr) {
            put_bytes(out, spelling->bytes.data(), spelling->length);
        } else {
            put_bytes(out, "?", 1);
        }
        run = at + 1;
    }
    put_bytes(out, text + run, length - run);
}

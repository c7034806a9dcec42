// The order logic's texts are written in the source as they read on the
// screen, in UTF-8, and kept as the Windows-1252 bytes that the console
// writes, converted at compile time: "OPÇÃO: "_cp1252 is a const char* to
// 4F 50 C7 C3 4F 3A 20. A text that breaks console/texts.hpp's rules, or is
// not well-formed UTF-8, fails the build, so none reaches the screen garbled
// or cut. Its letters are Latin-1's, at the same numbers in Windows-1252.
#pragma once

#include <algorithm>
#include <cstddef>

#include "console/texts.hpp"

namespace windows1252_detail {

// Deliberately not constexpr: reaching it in the conversion fails the build.
void not_ascii_or_a_text_letter() noexcept;

consteval bool is_text_letter(unsigned char byte)
{
    return std::ranges::find(TEXT_LETTERS, byte) != std::ranges::end(TEXT_LETTERS);
}

}  // namespace windows1252_detail

// A UTF-8 string literal of N bytes (its NUL included) as Windows-1252; the
// result is never longer, and the rest of `bytes` stays NUL.
template <std::size_t N> struct windows1252_text {
    static_assert(N - 1 <= LONGEST_TEXT, "a text longer than the console takes");
    char bytes[N]{};

    consteval windows1252_text(const char (&utf8)[N]) noexcept
    {
        std::size_t out = 0;
        for (std::size_t at = 0; at + 1 < N; ++at) {
            const auto lead = static_cast<unsigned char>(utf8[at]);
            if (lead < 0x80) {
                bytes[out++] = utf8[at];
                continue;
            }
            // U+00A0 to U+00FF take two bytes: C2 A0 to C2 BF, C3 80 to C3 BF.
            const auto next = at + 2 < N ? static_cast<unsigned char>(utf8[at + 1]) : 0;
            const auto letter = static_cast<unsigned char>(((lead & 0x03) << 6) | (next & 0x3F));
            if ((lead != 0xC2 && lead != 0xC3) || (next & 0xC0) != 0x80 ||
                !windows1252_detail::is_text_letter(letter)) {
                windows1252_detail::not_ascii_or_a_text_letter();
            }
            bytes[out++] = static_cast<char>(letter);
            ++at;
        }
    }
};

// Each text is a template parameter object, which lives for the whole run.
template <windows1252_text text> consteval const char* operator""_cp1252() noexcept
{
    return text.bytes;
}

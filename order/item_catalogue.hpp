// What can be ordered: the eight items with their texts and prices, and the
// menu built from them. All texts are Windows-1252 strings.
#pragma once

#include <array>
#include <cstdint>

inline constexpr std::int32_t FINISH_CODE = 0;

struct catalogue_entry {
    std::int32_t code;
    const char* menu_line;
    const char* confirmation;
    double price;  // in reais
    const char* listing_line;
};

extern const std::array<catalogue_entry, 8> item_catalogue;

enum class code_class : std::uint8_t { finish, item, invalid };

struct entry_lookup {
    code_class kind;
    const catalogue_entry* entry;  // set for code_class::item only
};

entry_lookup find_entry(std::int32_t code);

// The heading, the eight item lines and the closing line, ten whole lines.
void write_menu();

#include "order/item_catalogue.hpp"

#include "console/console.hpp"
#include "order/windows1252.hpp"

// The spellings that look like slips are the menu's own, kept on purpose:
// the menu offers CACHORRO-QUNTE, whose confirmation and listing say
// CACHORRO-QUENTE; X-BACON is confirmed and listed as X-BACCON; MISTO is
// listed as X-MISTO; and SALADA's listing line reads " SALADA VALOR".
const std::array<catalogue_entry, 8> item_catalogue{{
    {1, "1  CACHORRO-QUNTE"_cp1252, "VOCÊ ESCOLHEU CACHORRO-QUENTE, VALOR R$ 5,00"_cp1252, 5.00,
     " CACHORRO-QUENTE R$ 5,00"_cp1252},
    {2, "2  X-SALADA"_cp1252, "VOCÊ ESCOLHEU X-SALADA, VALOR R$ 8,79"_cp1252, 8.79, " X-SALADA R$ 8,79"_cp1252},
    {3, "3  X-BACON"_cp1252, "VOCÊ ESCOLHEU X-BACCON, VALOR R$ 9,99"_cp1252, 9.99, " X-BACCON R$ 9,99"_cp1252},
    {4, "4  MISTO"_cp1252, "VOCÊ ESCOLHEU MISTO, VALOR R$ 6,69"_cp1252, 6.69, " X-MISTO R$ 6,69"_cp1252},
    {5, "5  SALADA"_cp1252, "VOCÊ ESCOLHEU SALADA, VALOR R$ 4,80"_cp1252, 4.80, " SALADA VALOR R$ 4,80"_cp1252},
    {6, "6  AGUA"_cp1252, "VOCÊ ESCOLHEU ÁGUA, VALOR R$ 3,49"_cp1252, 3.49, " ÁGUA R$ 3,49"_cp1252},
    {7, "7  REFRIGERANTE"_cp1252, "VOCÊ ESCOLHEU REFRIGERANTE, VALOR R$ 4,99"_cp1252, 4.99,
     " REFRIGERANTE R$ 4,99"_cp1252},
    {8, "8  X-FRANGO"_cp1252, "VOCÊ ESCOLHEU X-FRANGO, VALOR R$ 10,00"_cp1252, 10.00, " X-FRANGO R$ 10,00"_cp1252},
}};

namespace {

constexpr const char* MENU_HEADING = "SELECIONE A OPÇÃO DESEJADA NO MENU ABAIXO"_cp1252;
constexpr const char* MENU_CLOSING_LINE = "0  PARA FINALIZAR A COMPRA"_cp1252;

}  // namespace

entry_lookup find_entry(std::int32_t code)
{
    if (code == FINISH_CODE) return {code_class::finish, nullptr};
    if (code < 1 || code > static_cast<std::int32_t>(item_catalogue.size())) return {code_class::invalid, nullptr};
    return {code_class::item, &item_catalogue[static_cast<std::size_t>(code - 1)]};
}

void write_menu()
{
    write_line(MENU_HEADING);
    for (const catalogue_entry& entry : item_catalogue) write_line(entry.menu_line);
    write_line(MENU_CLOSING_LINE);
}

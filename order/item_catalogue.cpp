#include "order/item_catalogue.hpp"

#include "console/console.hpp"

// Accented letters are written as Windows-1252 bytes: C7 Ç, C3 Ã, CA Ê,
// C1 Á, E9 é. No escape here is followed by a letter that could pass for
// one more hex digit; break the string where a new text needs one.
const std::array<catalogue_entry, 8> item_catalogue{{
    {1, "1  CACHORRO-QUNTE", "VOC\xCA ESCOLHEU CACHORRO-QUENTE, VALOR R$ 5,00", 5.00, " CACHORRO-QUENTE R$ 5,00"},
    {2, "2  X-SALADA", "VOC\xCA ESCOLHEU X-SALADA, VALOR R$ 8,79", 8.79, " X-SALADA R$ 8,79"},
    {3, "3  X-BACON", "VOC\xCA ESCOLHEU X-BACCON, VALOR R$ 9,99", 9.99, " X-BACCON R$ 9,99"},
    {4, "4  MISTO", "VOC\xCA ESCOLHEU MISTO, VALOR R$ 6,69", 6.69, " X-MISTO R$ 6,69"},
    {5, "5  SALADA", "VOC\xCA ESCOLHEU SALADA, VALOR R$ 4,80", 4.80, " SALADA VALOR R$ 4,80"},
    {6, "6  AGUA", "VOC\xCA ESCOLHEU \xC1GUA, VALOR R$ 3,49", 3.49, " \xC1GUA R$ 3,49"},
    {7, "7  REFRIGERANTE", "VOC\xCA ESCOLHEU REFRIGERANTE, VALOR R$ 4,99", 4.99, " REFRIGERANTE R$ 4,99"},
    {8, "8  X-FRANGO", "VOC\xCA ESCOLHEU X-FRANGO, VALOR R$ 10,00", 10.00, " X-FRANGO R$ 10,00"},
}};

namespace {

constexpr const char* MENU_HEADING = "SELECIONE A OP\xC7\xC3O DESEJADA NO MENU ABAIXO";
constexpr const char* MENU_CLOSING_LINE = "0  PARA FINALIZAR A COMPRA";

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

#include "order/order_summary.hpp"

#include "console/console.hpp"
#include "order/item_catalogue.hpp"
#include "order/windows1252.hpp"

namespace {

constexpr const char* SLOT_LABEL = "ITEM "_cp1252;
constexpr const char* CLOSING_PROMPT = "PRESSIONE ENTER PARA FECHAR"_cp1252;

// What follows "ITEM n": the item's listing line, or just the line end for
// an empty slot and for the closing 0. A code typed but not on the menu
// gets a line of its own too, so that no two slots share a line.
void write_slot(std::int32_t code)
{
    const entry_lookup found = find_entry(code);
    switch (found.kind) {
    case code_class::finish:
        write_line_end();
        break;
    case code_class::item:
        write_line(found.entry->listing_line);
        break;
    case code_class::invalid:
        write_line(INVALID_SLOT_LINE);
        break;
    }
}

}  // namespace

void print_order_summary(const order_record& order)
{
    clear_screen();
    write_line(LISTING_HEADING);
    for (std::int32_t slot = 0; slot < ORDER_SLOTS; ++slot) {
        write_text(SLOT_LABEL);
        write_integer(slot + 1);
        write_slot(order.slots[static_cast<std::size_t>(slot)]);
    }
    write_real(TOTAL_FORMAT, order.total);
}

void keep_summary_until_read()
{
    if (!console_closes_at_exit()) return;
    write_line_end();
    write_line(CLOSING_PROMPT);
    wait_for_enter();
}

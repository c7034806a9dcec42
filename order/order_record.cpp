#include "order/order_record.hpp"

#include "console/console.hpp"
#include "order/item_catalogue.hpp"
#include "order/windows1252.hpp"

namespace {

constexpr const char* PROMPT = "OPÇÃO: "_cp1252;

void answer_choice(order_record& order)
{
    const entry_lookup found = find_entry(order.choice);
    switch (found.kind) {
    case code_class::finish:
        write_line(FINISHING_LINE);
        break;
    case code_class::item:
        write_line(found.entry->confirmation);
        order.total += found.entry->price;
        break;
    case code_class::invalid:
        write_line(INVALID_CHOICE_LINE);
        break;
    }
}

// A choice made once all slots are taken is answered but stored nowhere.
void record_choice(order_record& order)
{
    if (order.count >= ORDER_SLOTS) return;
    order.slots[static_cast<std::size_t>(order.count)] = order.choice;
    ++order.count;
}

// Something that is not a number was typed: the rest of its line goes,
// and the person is asked again without anything being recorded.
void reject_line()
{
    discard_input_line();
    clear_screen();
    write_line(INVALID_CHOICE_LINE);
}

void run_turn(order_record& order)
{
    write_menu();
    write_text(PROMPT);
    const read_result result = read_integer(order.choice);
    if (result == read_result::not_a_number) {
        reject_line();
        return;
    }
    // Input that ends without a 0 still closes the order, so a script that
    // forgets the 0 loses nothing and the program never waits on nothing.
    if (result == read_result::end_of_input) order.choice = FINISH_CODE;
    clear_screen();
    answer_choice(order);
    record_choice(order);
    write_line(REGISTERED_LINE);
}

}  // namespace

void run_order_entry(order_record& order)
{
    while (order.choice != FINISH_CODE) run_turn(order);
}

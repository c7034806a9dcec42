// The one order of a run and the dialogue that fills it.
#pragma once

#include <array>
#include <cstdint>

inline constexpr std::int32_t ORDER_SLOTS = 10;

struct order_record {
    // The code of each choice read, in order, valid or not; 0 where none.
    std::array<std::int32_t, ORDER_SLOTS> slots{};
    std::int32_t count = 0;    // choices recorded, never more than ORDER_SLOTS
    double total = 0.0;        // in reais, the prices of the items chosen
    std::int32_t choice = -1;  // the code read last; anything but 0 at start
};

// Shows the menu and takes choices until 0 (or the end of input) closes
// the order.
void run_order_entry(order_record& order);

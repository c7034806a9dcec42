// The one order of a run and the dialogue that fills it.
#pragma once

#include <array>
#include <cstdint>

#include "order/windows1252.hpp"

inline constexpr std::int32_t ORDER_SLOTS = 10;

// The dialogue's answers besides the catalogue's (the fuzzer's too).
inline constexpr const char* FINISHING_LINE = "FINALIZANDO SEU PEDIDO AGORA"_cp1252;
inline constexpr const char* INVALID_CHOICE_LINE = "VOCÊ ESCOLHEU UMA OPÇÃO INVÁLIDA, TENTE NOVAMENTE"_cp1252;
inline constexpr const char* REGISTERED_LINE = "ITEM REGISTRADO, CONTINUE REGISTRANDO SEU PEDIDO"_cp1252;

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

// The closing screen: the ten slots of the order and the amount due.
#pragma once

#include "order/order_record.hpp"

// The summary's texts (the fuzzer's too).
inline constexpr const char* LISTING_HEADING = "LISTAGEM DOS ITENS QUE VOCÊ ESCOLHEU"_cp1252;
inline constexpr const char* INVALID_SLOT_LINE = " OPÇÃO INVÁLIDA"_cp1252;
inline constexpr const char* TOTAL_FORMAT = "O Valor do seu pedido é R$ %f"_cp1252;

void print_order_summary(const order_record& order);

// Where the terminal goes as the program exits, asks for Enter below the
// amount due and waits for it, so that the amount can be read; elsewhere
// writes nothing.
void keep_summary_until_read();

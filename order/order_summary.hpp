// The closing screen: the ten slots of the order and the amount due.
#pragma once

#include "order/order_record.hpp"

void print_order_summary(const order_record& order);

// Where the terminal goes as the program exits, asks for Enter below the
// amount due and waits for it, so that the amount can be read; elsewhere
// writes nothing.
void keep_summary_until_read();

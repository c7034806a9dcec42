// The closing screen: the ten slots of the order and the amount due.
#pragma once

#include "order/order_record.hpp"

void print_order_summary(const order_record& order);

#include "console/console.hpp"
#include "order/order_record.hpp"
#include "order/order_summary.hpp"

// Arguments are ignored: the program takes no options.
int main()
{
    adopt_locale();
    order_record order;
    run_order_entry(order);
    print_order_summary(order);
    return finish_console();
}

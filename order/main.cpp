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
    // Any failure is reported before the wait, so it is read too.
    const int status = finish_console();
    keep_summary_until_read();
    return status;
}

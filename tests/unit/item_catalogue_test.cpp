#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <initializer_list>
#include <string>

#include "order/item_catalogue.hpp"

namespace {

TEST(find_entry, ClassifiesFinishItemsAndEverythingElse)
{
    EXPECT_EQ(find_entry(0).kind, code_class::finish);
    for (std::int32_t code : {9, 100, -1, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(find_entry(code).kind, code_class::invalid);
        EXPECT_EQ(find_entry(code).entry, nullptr);
    }
    for (std::int32_t code = 1; code <= 8; ++code) {
        SCOPED_TRACE(code);
        const entry_lookup found = find_entry(code);
        ASSERT_EQ(found.kind, code_class::item);
        EXPECT_EQ(found.entry->code, code);
    }
}

TEST(find_entry, YieldsTheTextsAndPriceOfAnItem)
{
    const entry_lookup frango = find_entry(8);
    ASSERT_EQ(frango.kind, code_class::item);
    EXPECT_STREQ(frango.entry->menu_line, "8  X-FRANGO");
    EXPECT_STREQ(frango.entry->confirmation, "VOC\xCA ESCOLHEU X-FRANGO, VALOR R$ 10,00");
    EXPECT_STREQ(frango.entry->listing_line, " X-FRANGO R$ 10,00");
    EXPECT_EQ(frango.entry->price, 10.00);
}

// Each price must be the amount its own texts state, e.g. "R$ 8,79" for 8.79.
TEST(item_catalogue, PricesMatchTheAmountsInTheirTexts)
{
    for (const catalogue_entry& entry : item_catalogue) {
        SCOPED_TRACE(entry.menu_line);
        char amount[32];
        ASSERT_GT(std::snprintf(amount, sizeof amount, "R$ %.2f", entry.price), 0);
        for (char& c : amount) {
            if (c == '.') c = ',';
        }
        const std::string confirmation = entry.confirmation;
        const std::string listing = entry.listing_line;
        EXPECT_EQ(confirmation.substr(confirmation.size() - std::string(amount).size()), amount);
        EXPECT_EQ(listing.substr(listing.size() - std::string(amount).size()), amount);
        EXPECT_EQ(listing.front(), ' ');
    }
}

// Totals are plain double sums in the order chosen, printed with "%f".
std::string total_of(std::initializer_list<std::int32_t> codes)
{
    double total = 0.0;
    for (std::int32_t code : codes) total += find_entry(code).entry->price;
    char printed[64];
    EXPECT_GT(std::snprintf(printed, sizeof printed, "%f", total), 0);
    return printed;
}

TEST(item_catalogue, SumsOfPricesPrintAsExpected)
{
    EXPECT_EQ(total_of({2}), "8.790000");
    EXPECT_EQ(total_of({2, 5}), "13.590000");
    EXPECT_EQ(total_of({4, 7}), "11.680000");
    EXPECT_EQ(total_of({2, 2, 2}), "26.370000");
    EXPECT_EQ(total_of({1, 2, 3, 4, 5, 6, 7, 8}), "53.750000");
}

}  // namespace

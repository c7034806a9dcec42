#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
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

}  // namespace

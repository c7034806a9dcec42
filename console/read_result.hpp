// What a read of one number found, shared by the console's interface and
// the input buffering below it.
#pragma once

#include <cstdint>

enum class read_result : std::uint8_t {
    number,        // a decimal integer, stored in the caller's choice
    not_a_number,  // some other byte, or digits running into one
    end_of_input,  // nothing but blanks (or a sign alone) before the end or a read error
};

// libFuzzer target: the whole dialogue and the summary, run in process on
// arbitrary input bytes, with the console bound to a socket that hands it
// the input in pieces and a memory file that catches the output.
//
// The oracle is more than "no crash". For every input:
//   - the program reports success (its output could be written);
//   - the number of turns is at most the input's length plus one, since
//     every turn but a last one at the end of input consumes a byte;
//   - the turns are the ones a plain reading of the input gives (the
//     reference reading below, written from the README, not from the
//     console's streaming reader), each answered with its own text;
//   - the summary lists exactly ITEM 1 to ITEM 10, each with the choice
//     recorded in that place, and the output ends with the total line;
//   - no place past the tenth is touched: the record holds at most ten
//     choices and nothing after them (the record is alone in its heap block,
//     so AddressSanitizer sees a write past it, and the build's
//     _GLIBCXX_ASSERTIONS bounds-checks every std::array subscript);
//   - the total is the sum of the prices of the item choices read, in order.
// A broken property is printed on standard error, then abort() makes it a
// finding with its input saved as an artifact.
#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "console/console.hpp"
#include "console/console_binding.hpp"
#include "order/item_catalogue.hpp"
#include "order/order_record.hpp"
#include "order/order_summary.hpp"

namespace {

constexpr char CLEARING = '\f';

int output_file = -1;

[[noreturn]] void broken(const char* property, const std::string& detail)
{
    (void)std::fprintf(stderr, "\norder_fuzzer: broken property: %s\n%s\n", property, detail.c_str());
    std::abort();
}

void expect(bool holds, const char* property, const std::string& detail = "")
{
    if (!holds) broken(property, detail);
}

// One turn as the reference reading sees it: a line rejected as not a
// number, or a choice recorded (and answered) with its code.
struct turn {
    bool rejected;
    std::int32_t code;
};

bool is_blank(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

// A number's digits from `at` on, saturated at the 32-bit limits.
std::int32_t read_number(const std::uint8_t* data, std::size_t size, std::size_t& at, bool negative)
{
    std::int64_t magnitude = 0;
    for (; at < size && is_digit(data[at]); ++at) {
        if (magnitude <= INT32_MAX) magnitude = magnitude * 10 + (data[at] - '0');
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// Past the next line end, or to the end of input.
void skip_line(const std::uint8_t* data, std::size_t size, std::size_t& at)
{
    while (at < size && data[at] != '\n') ++at;
    if (at < size) ++at;
}

// The README's rules applied to the whole input at once: blanks are
// skipped; a sign may precede the digits; a number saturates at the 32-bit
// limits; a non-number, digits that run into a byte other than a blank
// included, costs the rest of its line; the end of input (or a sign alone
// before it) closes the order as a 0 does; 0 closes it.
std::vector<turn> read_turns(const std::uint8_t* data, std::size_t size)
{
    std::vector<turn> turns;
    std::size_t at = 0;
    for (;;) {
        while (at < size && is_blank(data[at])) ++at;
        const bool negative = at < size && data[at] == '-';
        if (at < size && (data[at] == '-' || data[at] == '+')) ++at;
        if (at == size) {
            turns.push_back({false, FINISH_CODE});
            return turns;
        }
        const bool digits = is_digit(data[at]);
        const std::int32_t code = digits ? read_number(data, size, at, negative) : 0;
        if (!digits || (at < size && !is_blank(data[at]))) {
            skip_line(data, size, at);
            turns.push_back({true, 0});
            continue;
        }
        turns.push_back({false, code});
        if (code == FINISH_CODE) return turns;
    }
}

std::vector<std::int32_t> recorded_codes(const std::vector<turn>& turns)
{
    std::vector<std::int32_t> codes;
    for (const turn& t : turns) {
        if (!t.rejected) codes.push_back(t.code);
    }
    return codes;
}

// Summed in the order the choices were read, as the program does, so the
// two doubles must be equal to the last bit.
double sum_of_prices(const std::vector<std::int32_t>& codes)
{
    double total = 0.0;
    for (const std::int32_t code : codes) {
        const entry_lookup found = find_entry(code);
        if (found.kind == code_class::item) total += found.entry->price;
    }
    return total;
}

std::string expected_answer(const turn& t)
{
    std::string invalid = std::string(INVALID_CHOICE_LINE) + "\n";
    const std::string registered = std::string(REGISTERED_LINE) + "\n";
    if (t.rejected) return invalid;
    const entry_lookup found = find_entry(t.code);
    switch (found.kind) {
    case code_class::finish:
        return FINISHING_LINE + ("\n" + registered);
    case code_class::item:
        return found.entry->confirmation + ("\n" + registered);
    case code_class::invalid:
        break;
    }
    return invalid + registered;
}

std::string expected_slot_text(const std::vector<std::int32_t>& codes, std::size_t slot)
{
    if (slot >= codes.size()) return "";
    const entry_lookup found = find_entry(codes[slot]);
    switch (found.kind) {
    case code_class::finish:
        return "";
    case code_class::item:
        return found.entry->listing_line;
    case code_class::invalid:
        break;
    }
    return INVALID_SLOT_LINE;
}

std::string total_line(double total)
{
    std::array<char, 400> line{};
    expect(std::snprintf(line.data(), line.size(), TOTAL_FORMAT, total) > 0, "the fuzzer can print the total");
    return line.data();
}

std::vector<std::string> split_screens(const std::string& output)
{
    std::vector<std::string> screens;
    std::size_t from = 0;
    for (std::size_t at = output.find(CLEARING); at != std::string::npos; at = output.find(CLEARING, from)) {
        screens.push_back(output.substr(from, at - from));
        from = at + 1;
    }
    screens.push_back(output.substr(from));
    return screens;
}

std::string read_all(int fd)
{
    std::string bytes;
    std::array<char, std::size_t{64} * 1024> chunk{};
    expect(lseek(fd, 0, SEEK_SET) == 0, "the fuzzer can rewind its output file");
    for (;;) {
        const ssize_t got = read(fd, chunk.data(), chunk.size());
        expect(got >= 0, "the fuzzer can read its output file");
        if (got == 0) return bytes;
        bytes.append(chunk.data(), static_cast<std::size_t>(got));
    }
}

// A memory file catches the output; it is emptied and rewound for every
// input rather than made anew.
void reset_output()
{
    expect(ftruncate(output_file, 0) == 0 && lseek(output_file, 0, SEEK_SET) == 0,
           "the fuzzer can empty and rewind its output file");
}

// The input comes through a socket of packets, one piece per read(2), as a
// terminal gives one line per read, and it ends where the pieces do. So a
// number, a sign or a line end can straddle two reads, which a file read
// in the console's 64 KiB chunks would never show. The pieces are 1 to 32
// bytes long (the input's last byte tells how long), and at most 64, which
// the socket's buffer holds without a reader. Returns the end to read.
int feed_input(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t MOST_PIECES = 64;
    std::array<int, 2> ends{};
    expect(socketpair(AF_UNIX, SOCK_SEQPACKET, 0, ends.data()) == 0, "the fuzzer can make its input socket");
    std::size_t piece = size == 0 ? 1 : 1 + (data[size - 1] % 32);
    piece = std::max(piece, (size + MOST_PIECES - 1) / MOST_PIECES);
    for (std::size_t at = 0; at < size; at += piece) {
        const std::size_t length = std::min(piece, size - at);
        expect(send(ends[1], data + at, length, MSG_DONTWAIT) == static_cast<ssize_t>(length),
               "the fuzzer can send its input");
    }
    expect(close(ends[1]) == 0, "the fuzzer can close its input socket");
    return ends[0];
}

// Whatever the input, the record keeps to its ten places.
void check_bounds(const order_record& order)
{
    expect(order.count >= 0 && order.count <= ORDER_SLOTS, "no slot past the tenth is touched",
           "count " + std::to_string(order.count));
    for (auto slot = static_cast<std::size_t>(order.count); slot < order.slots.size(); ++slot) {
        expect(order.slots[slot] == 0, "no place past the last choice is written",
               "place " + std::to_string(slot + 1) + " holds " + std::to_string(order.slots[slot]));
    }
    expect(order.choice == FINISH_CODE, "the dialogue ends on a 0 or the end of input");
}

// The record holds the first ten choices the reference reading records.
void check_record(const order_record& order, const std::vector<std::int32_t>& codes)
{
    const std::size_t stored = std::min(codes.size(), static_cast<std::size_t>(ORDER_SLOTS));
    expect(order.count == static_cast<std::int32_t>(stored), "the record holds the choices read",
           "count " + std::to_string(order.count) + ", expected " + std::to_string(stored));
    for (std::size_t slot = 0; slot < stored; ++slot) {
        expect(order.slots[slot] == codes[slot], "each place holds the choice recorded there",
               "place " + std::to_string(slot + 1) + " holds " + std::to_string(order.slots[slot]) + ", expected " +
                   std::to_string(codes[slot]));
    }
}

void check_output(const std::string& output, const std::vector<turn>& turns, std::size_t input_size)
{
    const std::vector<std::string> screens = split_screens(output);
    // One clearing per turn and one before the summary.
    expect(screens.size() >= 3, "the output has a menu, a turn and a summary");
    const std::size_t turns_taken = screens.size() - 2;
    expect(turns_taken <= input_size + 1, "the number of turns is bounded by the input's length",
           std::to_string(turns_taken) + " turns on " + std::to_string(input_size) + " bytes");
    expect(turns_taken == turns.size(), "the turns are the ones the input holds",
           std::to_string(turns_taken) + " turns taken, " + std::to_string(turns.size()) + " read");

    const std::string& menu_and_prompt = screens.front();
    for (std::size_t t = 0; t < turns_taken; ++t) {
        const bool last = t + 1 == turns_taken;
        const std::string wanted = expected_answer(turns[t]) + (last ? "" : menu_and_prompt);
        expect(screens[t + 1] == wanted, "each turn is answered with its own text, then the menu",
               "turn " + std::to_string(t + 1));
    }

    const std::vector<std::int32_t> codes = recorded_codes(turns);
    const std::string& summary = screens.back();
    std::size_t at = 0;
    const std::string heading = std::string(LISTING_HEADING) + "\n";
    expect(summary.starts_with(heading), "the summary starts with its heading");
    at += heading.size();
    for (std::size_t slot = 0; slot < static_cast<std::size_t>(ORDER_SLOTS); ++slot) {
        const std::string line = "ITEM " + std::to_string(slot + 1) + expected_slot_text(codes, slot) + "\n";
        expect(summary.compare(at, line.size(), line) == 0, "the summary lists exactly ITEM 1 to ITEM 10",
               "at ITEM " + std::to_string(slot + 1));
        at += line.size();
    }
    const std::string total = total_line(sum_of_prices(codes));
    expect(summary.compare(at, std::string::npos, total) == 0,
           "the output ends with the total line, the sum of the prices of the item choices read",
           "expected \"" + total + "\", got \"" + summary.substr(at, 200) + "\"");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/)
{
    output_file = memfd_create("order-output", 0);
    expect(output_file >= 0, "the fuzzer can make its memory file");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    reset_output();
    const int input = feed_input(data, size);
    bind_console(input, output_file);

    // Alone in its heap block, so that a write past it is seen.
    const auto order = std::make_unique<order_record>();
    run_order_entry(*order);
    print_order_summary(*order);
    const int status = finish_console();
    expect(close(input) == 0, "the fuzzer can close its input socket");
    expect(status == 0, "the program reports success when its output could be written");

    check_bounds(*order);
    const std::vector<turn> turns = read_turns(data, size);
    check_output(read_all(output_file), turns, size);
    const std::vector<std::int32_t> codes = recorded_codes(turns);
    check_record(*order, codes);
    expect(order->total == sum_of_prices(codes), "the total is the sum of the prices of the item choices read");
    return 0;
}

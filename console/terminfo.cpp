#include "console/terminfo.hpp"

#include <cstdint>
#include <cstring>
#include <dlfcn.h>

namespace {

// Debian's libtinfo6, a required package, is what clear(1) uses too.
constexpr const char* TERMINFO_LIBRARY = "libtinfo.so.6";

// The terminfo functions as <term.h> declares them, its TERMINAL opaque
// here: the header is not needed to build, as the library is not linked.
using setupterm_function = int (*)(const char* term, int fd, int* found);
using tigetstr_function = char* (*)(const char* capability);
using set_curterm_function = void* (*)(void* terminal);
using del_curterm_function = int (*)(void* terminal);

// What setupterm stores in its last argument once it has read the entry,
// even where it returns an error for a terminal unfit for full-screen use.
constexpr int ENTRY_READ = 1;

// tigetstr gives nullptr for a capability the entry lacks, and (char*)-1
// for a name that is not a string capability.
bool is_capability(const char* value)
{
    return value != nullptr && reinterpret_cast<std::intptr_t>(value) != -1;
}

// Where the padding that starts right after "$<" ends (at its closing
// '>'), or nullptr when what follows is no padding, which terminfo then
// means as plain text.
const char* padding_end(const char* at)
{
    const char* from = at;
    while ((*at >= '0' && *at <= '9') || *at == '.' || *at == '*' || *at == '/') ++at;
    return *at == '>' && at != from ? at : nullptr;
}

// Appends `sequence` to `clearing` without its padding, which only slow
// terminals of old needed and which would reach the screen as text. False
// when it does not fit.
bool append_unpadded(const char* sequence, terminal_clearing& clearing)
{
    for (const char* at = sequence; *at != '\0'; ++at) {
        const char* padding = at[0] == '$' && at[1] == '<' ? padding_end(at + 2) : nullptr;
        if (padding != nullptr) {
            at = padding;
            continue;
        }
        if (clearing.length == clearing.bytes.size()) return false;
        clearing.bytes[clearing.length++] = *at;
    }
    return true;
}

// Reads the entry of `term` through the loaded library into `clearing`,
// then frees what setupterm allocated. False when the library lacks a
// function, no entry for the type can be had, or the sequences do not fit.
bool read_entry(void* library, const char* term, int fd, terminal_clearing& clearing)
{
    const auto setupterm = reinterpret_cast<setupterm_function>(dlsym(library, "setupterm"));
    const auto tigetstr = reinterpret_cast<tigetstr_function>(dlsym(library, "tigetstr"));
    const auto set_curterm = reinterpret_cast<set_curterm_function>(dlsym(library, "set_curterm"));
    const auto del_curterm = reinterpret_cast<del_curterm_function>(dlsym(library, "del_curterm"));
    if (setupterm == nullptr || tigetstr == nullptr || set_curterm == nullptr || del_curterm == nullptr) return false;

    // Given somewhere to report, setupterm prints nothing.
    int found = 0;
    (void)setupterm(term, fd, &found);
    bool fits = true;
    const char* clear = found == ENTRY_READ ? tigetstr("clear") : nullptr;
    if (is_capability(clear)) {
        fits = append_unpadded(clear, clearing);
        const char* scrollback = tigetstr("E3");
        if (fits && is_capability(scrollback)) fits = append_unpadded(scrollback, clearing);
    }
    (void)del_curterm(set_curterm(nullptr));
    return found == ENTRY_READ && fits;
}

// Fills `clearing` from terminfo. False when terminfo cannot tell. The
// library stays loaded for the rest of the run: what it keeps for itself
// after setupterm is held by its own globals, and unloading it would leave
// that memory unreachable, a leak.
bool clearing_from_terminfo(const char* term, int fd, terminal_clearing& clearing)
{
    void* library = dlopen(TERMINFO_LIBRARY, RTLD_LAZY | RTLD_LOCAL);
    if (library == nullptr) return false;
    return read_entry(library, term, fd, clearing);
}

}  // namespace

void find_clearing(const char* term, int fd, const char* fallback, terminal_clearing& clearing)
{
    clearing.length = 0;
    if (term == nullptr || *term == '\0' || std::strcmp(term, "dumb") == 0) return;
    if (clearing_from_terminfo(term, fd, clearing)) return;
    clearing.length = 0;
    (void)append_unpadded(fallback, clearing);
}

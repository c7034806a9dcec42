#include "console/output_sink.hpp"

#include <cstring>
#include <tuple>

#include "console/descriptor_io.hpp"
#include "console/texts.hpp"

// The longest piece ever put is a whole text; the others (a number, a
// terminal's clearing, a letter's spelling) are a few hundred bytes at most.
static_assert(LONGEST_TEXT <= std::tuple_size_v<decltype(output_sink::buffer)>);

void start_output(output_sink& out, int fd)
{
    out.fd = fd;
    out.error = 0;
    out.used = 0;
}

void flush_output(output_sink& out)
{
    if (out.used > 0 && out.error == 0) out.error = write_all(out.fd, out.buffer.data(), out.used);
    out.used = 0;
}

void put_bytes(output_sink& out, const char* bytes, std::size_t length)
{
    if (out.error != 0) return;
    if (length > out.buffer.size() - out.used) flush_output(out);
    std::memcpy(out.buffer.data() + out.used, bytes, length);
    out.used += length;
}

#include "console/output_sink.hpp"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace {

// Blocks until `fd` takes more bytes; used when standard output was left
// non-blocking by whoever started us. False when polling itself fails.
bool wait_writable(int fd)
{
    pollfd watched{fd, POLLOUT, 0};
    while (poll(&watched, 1, -1) < 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

// Writes all of `bytes`, across short writes and interruptions. Returns 0,
// or the errno of the write that failed.
int write_all(int fd, const char* bytes, std::size_t length)
{
    while (length > 0) {
        const ssize_t wrote = write(fd, bytes, length);
        if (wrote >= 0) {
            bytes += wrote;
            length -= static_cast<std::size_t>(wrote);
            continue;
        }
        const int failure = errno;
        if (failure == EINTR) continue;
        if ((failure == EAGAIN || failure == EWOULDBLOCK) && wait_writable(fd)) continue;
        return failure;
    }
    return 0;
}

}  // namespace

void flush_output(output_sink& out)
{
    if (out.used > 0 && out.error == 0) out.error = write_all(out.fd, out.buffer.data(), out.used);
    out.used = 0;
}

void put_bytes(output_sink& out, const char* bytes, std::size_t length)
{
    if (out.error != 0) return;
    if (length > out.buffer.size() - out.used) {
        flush_output(out);
        if (length > out.buffer.size()) {
            if (out.error == 0) out.error = write_all(out.fd, bytes, length);
            return;
        }
    }
    std::memcpy(out.buffer.data() + out.used, bytes, length);
    out.used += length;
}

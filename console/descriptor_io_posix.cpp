// POSIX systems: read(2) and write(2) on the descriptors, waiting with
// poll(2) where a standard stream was left non-blocking.
#include "console/descriptor_io.hpp"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace {

// Blocks until `fd` is ready for `events`; used when a standard stream was
// left non-blocking by whoever started us. False when polling itself fails.
bool wait_ready(int fd, short events)
{
    pollfd watched{fd, events, 0};
    while (poll(&watched, 1, -1) < 0) {
        // Not tested: only a bad argument, a kernel out of memory or a
        // signal handler (the program installs none) make poll fail.
        if (errno != EINTR) return false;  // GCOVR_EXCL_LINE
    }
    return true;
}

bool would_block(int failure)
{
    return failure == EAGAIN || failure == EWOULDBLOCK;
}

}  // namespace

std::size_t read_some(int fd, unsigned char* buffer, std::size_t size, int& failure)
{
    for (;;) {
        const ssize_t got = read(fd, buffer, size);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno == EINTR) continue;
        if (would_block(errno) && wait_ready(fd, POLLIN)) continue;
        if (errno != EBADF) failure = errno;
        return 0;
    }
}

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
        if (would_block(failure) && wait_ready(fd, POLLOUT)) continue;
        return failure;
    }
    return 0;
}

bool is_terminal(int fd)
{
    return isatty(fd) == 1;
}

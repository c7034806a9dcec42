// Windows: the C runtime's _read and _write on the standard descriptors.
//
// The C runtime opens the standard streams in text mode, and they stay so: a
// "\n" goes out as CR LF, the platform's line end; in input CR LF arrives as
// "\n", and a Ctrl+Z ends the input, the way a person at a console closes it.
#include "console/descriptor_io.hpp"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX  // libstdc++ defines it already
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <io.h>

namespace {

HANDLE handle_of(int fd)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

}  // namespace

std::size_t read_some(int fd, unsigned char* buffer, std::size_t size, int& failure)
{
    const int got = _read(fd, buffer, static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX)));
    if (got < 0 && errno != EBADF) failure = errno;
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

// _write reports a full disk as -1 with ENOSPC; a write of nothing that it
// calls a success is taken as a failure too, so the loop cannot spin.
int write_all(int fd, const char* bytes, std::size_t length)
{
    while (length > 0) {
        const int wrote = _write(fd, bytes, static_cast<unsigned>(std::min<std::size_t>(length, INT_MAX)));
        if (wrote < 0) return errno != 0 ? errno : EIO;
        if (wrote == 0) return ENOSPC;
        bytes += wrote;
        length -= static_cast<std::size_t>(wrote);
    }
    return 0;
}

// _isatty holds for any character device, the NUL device included; only a
// console window answers GetConsoleMode.
bool is_terminal(int fd)
{
    DWORD mode = 0;
    return GetConsoleMode(handle_of(fd), &mode) != 0;
}

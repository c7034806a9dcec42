// Prints what the console window of the process NAME started by PARENT
// shows, from its first row to its cursor's, a line each, blanks at the end
// dropped: the screen as a person in front of it reads it. Status 1, with
// the reason on standard error, where there is no such process or it has no
// console of its own (an earlier Wine gives a program started from a shell
// that shell's output instead).
// usage: wine console_text.exe NAME PARENT
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cstring>

static bool named(const PROCESSENTRY32& entry, const char* name)
{
    return _stricmp(entry.szExeFile, name) == 0;
}

// The ID of the first process that matches, 0 where none does.
template <typename Match> static DWORD find_process(Match matches)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    DWORD id = 0;
    for (BOOL more = Process32First(snapshot, &entry); more && id == 0; more = Process32Next(snapshot, &entry))
        if (matches(entry)) id = entry.th32ProcessID;
    CloseHandle(snapshot);
    return id;
}

static bool started_by(const PROCESSENTRY32& child, const char* parent)
{
    auto is_parent = [&](const PROCESSENTRY32& other) {
        return other.th32ProcessID == child.th32ParentProcessID && named(other, parent);
    };
    return find_process(is_parent) != 0;
}

static DWORD process_id(const char* name, const char* parent)
{
    return find_process([&](const PROCESSENTRY32& child) { return named(child, name) && started_by(child, parent); });
}

int main(int argc, char** argv)
{
    if (argc != 3) return 2;
    DWORD id = process_id(argv[1], argv[2]);
    if (id == 0) {
        std::fprintf(stderr, "console_text: no process %s started by %s\n", argv[1], argv[2]);
        return 1;
    }
    FreeConsole();
    if (!AttachConsole(id)) {
        std::fprintf(stderr, "console_text: %s has no console of its own (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    HANDLE screen = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(screen, &info)) {
        std::fprintf(stderr, "console_text: the console of %s cannot be read (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    static char row[1024];
    SHORT width = info.dwSize.X < 1024 ? info.dwSize.X : 1024;
    for (SHORT y = 0; y <= info.dwCursorPosition.Y; y++) {
        DWORD read = 0;
        ReadConsoleOutputCharacterA(screen, row, static_cast<DWORD>(width), COORD{0, y}, &read);
        while (read > 0 && row[read - 1] == ' ') read--;
        std::printf("%.*s\n", static_cast<int>(read), row);
    }
    return 0;
}

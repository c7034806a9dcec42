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

static DWORD process_id(const char* name, const char* parent)
{
    static PROCESSENTRY32 entries[1024];
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    size_t count = 0;
    entries[0].dwSize = sizeof(PROCESSENTRY32);
    BOOL more = Process32First(snapshot, &entries[0]);
    while (more && ++count < 1024) {
        entries[count].dwSize = sizeof(PROCESSENTRY32);
        more = Process32Next(snapshot, &entries[count]);
    }
    CloseHandle(snapshot);
    for (size_t child = 0; child < count; child++)
        for (size_t other = 0; other < count; other++)
            if (named(entries[child], name) && named(entries[other], parent) &&
                entries[child].th32ParentProcessID == entries[other].th32ProcessID)
                return entries[child].th32ProcessID;
    return 0;
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

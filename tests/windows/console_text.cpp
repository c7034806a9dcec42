// Prints what the console window of the first process named NAME shows,
// from its first row to its cursor's, a line each, blanks at the end
// dropped: the screen as a person in front of it reads it. Status 1, with
// the reason on standard error, where there is no such process or it has no
// console of its own (an earlier Wine gives a program started from a shell
// that shell's output instead).
// usage: wine console_text.exe NAME
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cstring>

static DWORD process_id(const char* name)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    DWORD id = 0;
    for (BOOL more = Process32First(snapshot, &entry); more && id == 0; more = Process32Next(snapshot, &entry))
        if (_stricmp(entry.szExeFile, name) == 0) id = entry.th32ProcessID;
    CloseHandle(snapshot);
    return id;
}

int main(int argc, char** argv)
{
    if (argc != 2) return 2;
    DWORD id = process_id(argv[1]);
    FreeConsole();
    if (id == 0 || !AttachConsole(id)) {
        std::fprintf(stderr, "console_text: no console of a process %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    HANDLE screen = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(screen, &info)) return 1;
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

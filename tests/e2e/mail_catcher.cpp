// Stands in for the player's mail program in the end-to-end tests: the shell
// starts it with an output file and the mailto: link, and it writes the link
// there in code page 932.
#include <windows.h>
#include <shellapi.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args == nullptr || count < 3)
        return 1;
    char link[2048] = {};
    int size = WideCharToMultiByte(932, 0, args[2], -1, link, sizeof link, nullptr, nullptr);
    HANDLE file = CreateFileW(args[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (size <= 0 || file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, link, static_cast<DWORD>(size - 1), &written, nullptr);
    CloseHandle(file);
    LocalFree(args);
    return 0;
}

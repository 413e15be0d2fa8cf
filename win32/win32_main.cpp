// Start-up: one copy only, the main window, the opening, then the message loop.
#include "win32/win32_app.h"

#include <mmsystem.h>

#include <array>
#include <string_view>

#include "app/shell_texts.h"
#include "app/startup.h"

namespace {

constexpr const char* kMainClass = "メインウィンドウ";

bool RegisterMainClass()
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = Instance();
    windowClass.hIcon = LoadIconA(Instance(), "MY_ICON");
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszMenuName = "MY_MENU";
    windowClass.lpszClassName = kMainClass;
    return RegisterClassExA(&windowClass) != 0;
}

void PlayOpeningSound()
{
    // Each call cuts off the one before, so the tune is heard once, from its start.
    for (int i = 0; i < 5; ++i)
        PlaySoundA(kOpeningSound, nullptr, SND_ASYNC | SND_FILENAME);
}

void ShowStartMessage()
{
    MessageBoxA(nullptr, kStartMessage, kStartCaption, MB_OK);
}

// Blocks in GetMessageA while the queue is empty, so an idle game costs no CPU.
// The loop keeps its own copy of the main window: the destroy handling clears
// the shared one before the quit message arrives.
int RunMessageLoop(HWND mainWindow, HACCEL accelerators)
{
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) != 0) {
        if (!TranslateAcceleratorA(mainWindow, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    return AppMain(instance, previous, commandLine, showCommand);
}

// Only the instance is used: there are no options, and CenterWindow shows the window.
int AppMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    game.instance = instance;
    if (!CheckSingleInstance())
        return 0;
    if (!RegisterMainClass())
        return 0;

    HWND mainWindow = CreateWindowExA(0, kMainClass, kMainTitle, WS_OVERLAPPEDWINDOW,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                      nullptr, nullptr, instance, nullptr);
    if (!mainWindow)
        return 0;
    game.mainWindow = mainWindow;

    PlayOpeningSound();
    DialogBoxParamA(instance, "MY_OPENING", mainWindow, OpeningDlgProc, 0);
    ShowStartMessage();
    HACCEL accelerators = LoadAcceleratorsA(instance, "MY_ACCEL");
    CenterWindow(mainWindow);
    return RunMessageLoop(mainWindow, accelerators);
}

int CheckSingleInstance()
{
    // The mutex lives as long as this process; a second copy only looks for it.
    CreateMutexA(nullptr, FALSE, kInstanceName);
    if (GetLastError() != ERROR_ALREADY_EXISTS)
        return 1;

    std::array<char, 128> name{};
    GetExeFileName(name.data(), static_cast<int>(name.size()));
    std::array<char, 1024> warning{};
    wsprintfA(warning.data(), kSecondCopyFormat, name.data());
    MessageBoxA(nullptr, warning.data(), kSecondCopyCaption, MB_ICONWARNING);
    return 0;
}

int GetExeFileName(char* destination, int capacity)
{
    std::array<char, 1024> path{};
    DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (capacity <= 0 || length == 0 || length >= path.size())  // no path, or one cut short
        return 0;
    // The path is in the process's ANSI code page: 932 on a Japanese system or
    // through the manifest, the system's own on Windows 10 of another language.
    auto isLeadByte = [](unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; };
    return CopyIfFits(FileNamePart({path.data(), length}, isLeadByte), destination,
                      static_cast<std::size_t>(capacity));
}

int CenterWindow(HWND window)
{
    RECT desktop{};
    RECT frame{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window, HWND_TOP, (desktop.right - width) / 2, (desktop.bottom - height) / 2,
                 width, height, SWP_SHOWWINDOW);
    return 0;
}

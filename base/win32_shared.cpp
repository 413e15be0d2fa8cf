#include "base/win32_shared.h"

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

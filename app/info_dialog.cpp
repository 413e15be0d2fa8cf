// Who made the game and how to reach them: the information dialog and the mail link.
#include "app/windows_app.h"

#include <shellapi.h>

#include "app/shell_texts.h"
#include "resources/resource.h"

INT_PTR CALLBACK InfoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        CenterWindow(dialog);
        return TRUE;
    case WM_COMMAND:
        // Only the close button ends it; Esc and the close box do nothing.
        if (LOWORD(wParam) == IDC_INFO_CLOSE)
            EndDialog(dialog, 111);
        return TRUE;
    default:
        return FALSE;
    }
}

void OpenMailLink()
{
    HINSTANCE result = ShellExecuteA(MainWindow(), "open", kMailLink, nullptr, nullptr, SW_SHOWNORMAL);
    // Values up to 32 are the shell's error codes.
    if (reinterpret_cast<UINT_PTR>(result) <= 32)
        MessageBoxA(MainWindow(), "メールソフトを開く事が出来ませんねぇ", "ｵｰﾌﾟﾝｴﾗｰ", MB_OK);
}

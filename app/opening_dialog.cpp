// The opening dialog: asks for the player's name, which the results show.
#include "app/windows_app.h"

#include <string>

#include "app/shell_texts.h"
#include "app/startup.h"
#include "resources/resource.h"

namespace {

// Takes the whole field, however long, so the name is cut on a character
// boundary rather than in the middle of a two-byte character.
std::string NameFieldText(HWND dialog)
{
    HWND field = GetDlgItem(dialog, IDC_OPENING_NAME);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(field)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(field, text.data(), static_cast<int>(text.size()))));
    return text;
}

void OnStart(HWND dialog)
{
    StorePlayerName(NameFieldText(dialog));
    if (game.playerName[0] == '\0') {
        MessageBoxA(dialog, kNameMissingMessage, kNameMissingCaption, MB_OK);
        return;
    }
    EndDialog(dialog, 555);
}

} // namespace

INT_PTR CALLBACK OpeningDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        CenterWindow(dialog);
        return TRUE;  // focus on the start button
    case WM_COMMAND:
        // Esc (IDCANCEL) does nothing: the only way on is with a name.
        if (LOWORD(wParam) == IDC_OPENING_START)
            OnStart(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

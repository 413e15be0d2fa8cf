// The hit-sound settings dialog and the thread that starts each hit sound.
#include "course/sound_dialog.h"

#include <mmsystem.h>

#include "course/hit_sound.h"
#include "resources/resource.h"

namespace {

void OnInitDialog(HWND dialog)
{
    CenterWindow(dialog);
    if (const int choice = ReselectHitSound())
        SendDlgItemMessageA(dialog, SoundButton(choice), BM_SETCHECK, BST_CHECKED, 0);
}

void OnCommand(HWND dialog, int control)
{
    // A choice is in force as soon as it is clicked; closing never undoes it.
    if (const int choice = SoundChoiceOf(control))
        SelectHitSound(choice);
    else if (control == IDC_SOUND_DONE)
        EndDialog(dialog, 333);
    // Anything else, Esc and the close box among them, leaves the dialog open.
}

} // namespace

INT_PTR CALLBACK SoundDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;  // focus on the done button
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

// Starts the sound and ends at once; the sound plays on without the thread,
// and a newer hit cuts it off rather than overlapping it.
unsigned __stdcall HitSoundThread(void*)
{
    PlaySoundA(game.soundFile.data(), nullptr, SND_FILENAME | SND_ASYNC);
    return 0;
}

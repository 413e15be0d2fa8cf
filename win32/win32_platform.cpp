// What the game core asks of Windows. Once the destroy handling has cleared
// the main window, these leave the window system alone: a key still queued
// behind the quit request must not reach a window that is shutting down.
#include "base/platform.h"

#include "win32/win32_app.h"

#include <mmsystem.h>
#include <process.h>

#include "resources/resource.h"

void StartElapsedTimer()
{
    if (MainWindow())
        SetTimer(MainWindow(), ELAPSED_TIMER_ID, 50, nullptr);
}

void StopElapsedTimer()
{
    if (MainWindow())
        KillTimer(MainWindow(), ELAPSED_TIMER_ID);
}

uint32_t CurrentTick() { return GetTickCount(); }

void SetMainWindowTitle(const char* text)
{
    if (MainWindow())
        SetWindowTextA(MainWindow(), text);
}

void RequestRepaint()
{
    // A null window would mean every window on the desktop.
    if (MainWindow())
        InvalidateRect(MainWindow(), nullptr, TRUE);
}

// Starts the sound and ends at once; the sound plays on without the thread,
// and a newer hit cuts it off rather than overlapping it.
unsigned __stdcall HitSoundThread(void*)
{
    PlaySoundA(game.soundFile.data(), nullptr, SND_FILENAME | SND_ASYNC);
    return 0;
}

NativeHandle StartHitSound()
{
    if (!MainWindow())
        return nullptr;
    return reinterpret_cast<NativeHandle>(
        _beginthreadex(nullptr, 0, HitSoundThread, MainWindow(), 0, nullptr));
}

void ReleaseThreadHandle(NativeHandle thread)
{
    if (thread)
        CloseHandle(static_cast<HANDLE>(thread));
}

bool SendCloseRequest()
{
    if (MainWindow())
        SendMessageA(MainWindow(), WM_CLOSE, 0, 0);
    return MainWindow() == nullptr;
}

// The hit-sound settings dialog and the thread that starts each hit sound.
#pragma once

#include "base/win32_shared.h"

INT_PTR CALLBACK SoundDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Body of the short thread that starts the hit sound.
unsigned __stdcall HitSoundThread(void* mainWindow);

// The Windows front end: start-up and the message loop (win32_main.cpp), the
// main window (main_window.cpp), the five dialogs (dialogs.cpp), Windows' side
// of base/platform.h (win32_platform.cpp) and of records/record_store.h
// (record_store_win32.cpp). What those files share is here; only they include it.
#pragma once

#include <windows.h>

#include "base/game_state.h"

inline HWND MainWindow() { return static_cast<HWND>(game.mainWindow); }
inline HINSTANCE Instance() { return static_cast<HINSTANCE>(game.instance); }

// The one face every font of the program asks for (a full-width space inside).
inline constexpr const char* kFontFace = "ＭＳ　Ｐゴシック";

// Start-up (win32_main.cpp).
int AppMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
int CheckSingleInstance();
int GetExeFileName(char* destination, int capacity);

// Centres a top-level window on the desktop, without clamping, puts it on
// top and shows it. Start-up shows the main window with it; every dialog
// calls it when it opens.
int CenterWindow(HWND window);

// Main window (main_window.cpp).
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void SetImeOpen(HWND window, bool open);
int ShowPopupMenu(HWND window, WPARAM wParam, LPARAM lParam);

// Dialogs (dialogs.cpp); each ends only through its own buttons.
INT_PTR CALLBACK OpeningDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK InfoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SoundDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK GoalDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RankDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Hands the maker's mail link to the shell, and says so when nothing took it.
void OpenMailLink();

// Body of the short thread that starts the hit sound (win32_platform.cpp).
unsigned __stdcall HitSoundThread(void* mainWindow);

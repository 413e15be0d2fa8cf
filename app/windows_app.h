// The Windows front end: window and dialog procedures and the small routines
// they share. Only the Win32 files include this.
#pragma once

#include <windows.h>

#include "app/game_state.h"

// The handles kept in the game state, as the window system's own types.
inline HWND MainWindow() { return static_cast<HWND>(game.mainWindow); }
inline HINSTANCE Instance() { return static_cast<HINSTANCE>(game.instance); }

// The main window's fixed title; a run's elapsed time replaces it on screen.
inline constexpr const char* kMainTitle = "ぱたたん！";

// The one face every font of the program asks for (a full-width space inside).
inline constexpr const char* kFontFace = "ＭＳ　Ｐゴシック";

// Start-up (app_main.cpp).
int AppMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
int CheckSingleInstance();
int GetExeFileName(char* destination, int capacity);
int CenterWindow(HWND window);

// Main window (main_window.cpp).
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void SetImeOpen(HWND window, bool open);
int ShowPopupMenu(HWND window, WPARAM wParam, LPARAM lParam);

// Dialogs; each ends only through its own buttons.
INT_PTR CALLBACK OpeningDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK InfoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SoundDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK GoalDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RankDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Hands the maker's mail link to the shell (info_dialog.cpp).
void OpenMailLink();

// Body of the short thread that starts the hit sound (sound_dialog.cpp).
unsigned __stdcall HitSoundThread(void* mainWindow);

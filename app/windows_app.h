// The top of the Windows front end: start-up, the main window, and the
// opening and information dialogs. Only the Win32 files of app/ include this.
#pragma once

#include "base/win32_shared.h"

// Start-up (app_main.cpp).
int AppMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
int CheckSingleInstance();
int GetExeFileName(char* destination, int capacity);

// Main window (main_window.cpp).
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void SetImeOpen(HWND window, bool open);
int ShowPopupMenu(HWND window, WPARAM wParam, LPARAM lParam);

// Dialogs; each ends only through its own buttons.
INT_PTR CALLBACK OpeningDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK InfoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Hands the maker's mail link to the shell (info_dialog.cpp).
void OpenMailLink();

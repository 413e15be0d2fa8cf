// What the window code of every subsystem shares: the game state's handles as
// the window system's own types, the one font face, and centring a window.
// Only the Windows files include this.
#pragma once

#include <windows.h>

#include "base/game_state.h"

inline HWND MainWindow() { return static_cast<HWND>(game.mainWindow); }
inline HINSTANCE Instance() { return static_cast<HINSTANCE>(game.instance); }

// The one face every font of the program asks for (a full-width space inside).
inline constexpr const char* kFontFace = "ＭＳ　Ｐゴシック";

// Centres a top-level window on the desktop, without clamping, puts it on
// top and shows it. Start-up shows the main window with it; every dialog
// calls it when it opens.
int CenterWindow(HWND window);

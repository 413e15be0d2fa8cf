// What the game core asks of the window system in the middle of a step: the
// run's timer and clock, the main window's title and repaint, the hit-sound
// thread and the close request. The core never reaches the window system any
// other way; it calls these and carries on with the step. Dialogs are the
// front ends' own: the core returns what happened and they open them.
// The Windows front end implements these (win32/win32_platform.cpp), and so
// does the page (web/web_platform.cpp); the unit tests replace them with a
// recording stand-in (tests/fake_platform.cpp).
#pragma once

#include <cstdint>

#include "base/game_state.h"

// The elapsed-time timer of a run: while it runs, the main window receives a
// tick every 50 ms and hands it to the keystroke engine.
void StartElapsedTimer();
void StopElapsedTimer();

// Milliseconds since an arbitrary start; wraps around after 2^32.
uint32_t CurrentTick();

void SetMainWindowTitle(const char* text);

// Asks for the whole main window to be repainted, background erased.
void RequestRepaint();

// Starts a thread that begins playing `game.soundFile` and returns its handle
// (nullptr when it could not be started); the core keeps the newest handle
// and releases each one it replaces.
NativeHandle StartHitSound();
void ReleaseThreadHandle(NativeHandle thread);

// Sends the close request to the main window, which asks the player.
// Returns true when the player agreed and the program is shutting down: the
// main window is gone and the core must not ask for anything more. The page
// returns false while its question is still open, and shuts down on a yes.
// Once shutting down, every call above leaves the window system alone.
bool SendCloseRequest();

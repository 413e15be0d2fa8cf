// The portable part of start-up and shutdown: preparing the game when the
// main window is created, the player's name and whether one was given, the
// exe's name, and what the main window's destroy handling does to the game.
// No window system here, so the unit tests and both front ends reach it.
#pragma once

#include <cstddef>
#include <string_view>

// The file-name part of an executable's path: what follows the last backslash,
// or the whole path when there is none. Steps over two-byte characters, so a
// trail byte that happens to be 0x5C is not taken for a backslash; the path is
// in the code page the caller runs with, whose lead bytes `isLeadByte` knows.
std::string_view FileNamePart(std::string_view path, bool (*isLeadByte)(unsigned char));

// Copies `name` and its terminator into `destination`. Returns the name's
// length, or 0 (leaving `destination` untouched) when it does not fit.
int CopyIfFits(std::string_view name, char* destination, std::size_t capacity);

// Stores the typed name in `game.playerName`, cut to 99 bytes on a character
// boundary. Returns false when nothing was typed: the game goes no further
// without a name, and the opening dialog says so.
bool StorePlayerName(std::string_view typed);

// The portable part of the main window's creation: clears the run, takes the
// phrase backup, applies the default hit sound and loads both record files.
void PrepareGame();

// The portable part of the main window's destruction: releases the last
// hit-sound thread handle, stops the run's timer and forgets the window and
// the module, so nothing reaches the window system after this.
void ShutDownGame();

// Decisions of the Windows front end that need no window system, kept here so
// the unit tests can reach them.
#pragma once

#include <cstddef>
#include <string_view>

// The file-name part of an executable's path: what follows the last backslash,
// or the whole path when there is none. Steps over two-byte characters, so a
// trail byte that happens to be 0x5C is not taken for a backslash.
std::string_view FileNamePart(std::string_view path);

// Copies `name` and its terminator into `destination`. Returns the name's
// length, or 0 (leaving `destination` untouched) when it does not fit.
int CopyIfFits(std::string_view name, char* destination, std::size_t capacity);

// Stores the typed name in `game.playerName`, cut to 99 bytes on a character
// boundary.
void StorePlayerName(std::string_view typed);

// The history position after a scroll action with code 0 to 5 (line and page
// steps clamped to 1 .. browseMax + 1, thumb moves taken as they come); any
// other code leaves it.
int ScrolledHistoryPos(int pos, int scrollCode, int thumbPos, int browseMax);

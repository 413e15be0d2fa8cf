// Rank.dat: the history of stage results, one 80-byte text per result.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "base/game_state.h"
#include "records/record_store.h"

constexpr std::size_t kHistoryRecordBytes = 80;
constexpr int32_t kMaxHistoryResults = kHistoryCapacity - 1;  // record 0 is never a result

// Reads Rank.dat into historyTexts, historyCount and historyBrowseMax, keeping
// the newest 254 results of a longer file. A missing file is an empty history
// (historyCount 0). A file that cannot be read is marked so, and what the game
// already holds stays.
ReadResult LoadHistory();

// Whether `bytes` are a Rank.dat as the game writes it: a count that is not
// negative, then record 0 and that many results. Anything else, such as
// another program's file, is not one, however the loader would read it.
bool IsHistoryFile(const std::vector<unsigned char>& bytes);

// Rewrites Rank.dat with record 0 and the historyCount results. A file marked
// unreadable is never replaced: that comes to ReplaceResult::Failed.
ReplaceResult SaveHistory();

// Appends a result's text, cut to 79 bytes on a character boundary. A full
// history forgets its oldest result to make room.
void AddHistoryResult(std::string_view text);

// The text at a position of the history browser: "" for any position outside
// results 1 to 254, such as the position after a full history.
const char* HistoryTextAt(int position);

// The history position after a scroll action with code 0 to 5 (line and page
// steps clamped to 1 .. browseMax + 1, thumb moves taken as they come); any
// other code leaves it.
int ScrolledHistoryPos(int pos, int scrollCode, int thumbPos, int browseMax);

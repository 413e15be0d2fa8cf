// Rank.dat: the history of stage results, one 80-byte text per result.
#pragma once

#include <cstddef>
#include <string_view>

#include "app/game_state.h"

constexpr std::size_t kHistoryRecordBytes = 80;
constexpr int32_t kMaxHistoryResults = kHistoryCapacity - 1;  // record 0 is never a result

// Reads Rank.dat into historyTexts, historyCount and historyBrowseMax.
// Returns false when the file could not be opened (historyCount is then 0).
bool LoadHistory();

// Rewrites Rank.dat with record 0 and the historyCount results.
void SaveHistory();

// Appends a result's text, cut to 79 bytes on a character boundary. A full
// history forgets its oldest result to make room.
void AddHistoryResult(std::string_view text);

// The text at a position of the history browser: "" for any position outside
// results 1 to 254, such as the position after a full history.
const char* HistoryTextAt(int position);

// Best.dat: every result's name and points, highest points first.
#pragma once

#include <cstdint>
#include <string>

#include "app/game_state.h"

// Reads Best.dat into bestTable and bestCount, in file order.
// Returns false when the file could not be opened (bestCount is then 0).
bool LoadBest();

// Sorts the table and rewrites Best.dat. Returns true when the file was
// written and `game.score` beats every earlier entry: a new record.
bool SaveBest();

void SortBest(BestRecord* entries, int32_t count, int descending);
void QuickSortBest(BestRecord* entries, int descending, int32_t lo, int32_t hi);
void SwapBest(BestRecord& a, BestRecord& b);

// "第%d位 %sさん：%dﾎﾟｲﾝﾄ" for place 1 upward.
std::string FormatRankingLine(int place, const BestRecord& entry);
// "新記録%dﾎﾟｲﾝﾄが出たよ"
std::string FormatNewRecordMessage(int32_t points);

// Best.dat: every result's name and points, highest points first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/game_state.h"

constexpr std::size_t kBestRecordBytes = 54;  // 50-byte name, then the points

// Reads Best.dat into bestTable and bestCount, in file order.
// Returns false when the file could not be opened (bestCount is then 0).
bool LoadBest();

// Sorts the table and rewrites Best.dat. Returns true when the file was
// written and `game.score` beats every earlier entry: a new record.
bool SaveBest();

// Adds a result to the table, its name cut to 49 bytes on a character
// boundary, and sorts the table. A full table takes the result in sorted
// and drops its lowest entry.
void AddBestResult(std::string_view name, int32_t points);

void SortBest(BestRecord* entries, int32_t count, int descending);
void QuickSortBest(BestRecord* entries, int descending, int32_t lo, int32_t hi);
void SwapBest(BestRecord& a, BestRecord& b);

// "第%d位 %sさん：%dﾎﾟｲﾝﾄ" for place 1 upward.
std::string FormatRankingLine(int place, const BestRecord& entry);
// "新記録%dﾎﾟｲﾝﾄが出たよ"
std::string FormatNewRecordMessage(int32_t points);

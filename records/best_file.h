// Best.dat: every result's name and points, highest points first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/game_state.h"
#include "records/record_store.h"

constexpr std::size_t kBestRecordBytes = 54;  // 50-byte name, then the points

// Reads Best.dat into bestTable and bestCount, in file order; a longer file
// keeps its 255 highest entries. A missing file is an empty table (bestCount
// 0). A file that cannot be read is marked so, and what the game already
// holds stays.
ReadResult LoadBest();

// Whether `bytes` are a Best.dat as the game writes it: a count that is not
// negative, then that many entries. Anything else, such as another program's
// file, is not one, however the loader would read it.
bool IsBestFile(const std::vector<unsigned char>& bytes);

// Sorts the table and rewrites Best.dat. A file marked unreadable is never
// replaced: that comes to ReplaceResult::Failed.
ReplaceResult SaveBest();

// Whether a result of `points`, already sorted into the table, beats every
// earlier entry: a new record.
bool IsNewBest(int32_t points);

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

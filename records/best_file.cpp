#include "records/best_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "base/cp932.h"
#include "records/record_bytes.h"

namespace {

constexpr std::size_t kNameBytes = sizeof(BestRecord::name);
static_assert(kNameBytes == 50);

std::string_view NameOf(const BestRecord& entry)
{
    auto end = std::find(entry.name.begin(), entry.name.end(), '\0');
    return {entry.name.data(), static_cast<std::size_t>(end - entry.name.begin())};
}

} // namespace

ReadResult LoadBest()
{
    std::vector<unsigned char> bytes;
    const ReadResult result = ReadRecordFile(RecordFile::Best, bytes, kMaxRecordFileBytes);
    game.bestFileUnreadable = result == ReadResult::Unreadable;
    if (result == ReadResult::Unreadable)
        return result;  // what the game already holds stays
    if (result == ReadResult::Missing) {
        game.bestCount = 0;
        return result;
    }
    std::vector<BestRecord> entries(CountedRecords(ReadRecordCount(bytes), WholeRecords(bytes, kBestRecordBytes)));
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const unsigned char* record = &bytes[kCountBytes + kBestRecordBytes * k];
        std::memcpy(entries[k].name.data(), record, kNameBytes);
        TerminateWithin(entries[k].name.data(), kNameBytes);  // a name must end within its field
        entries[k].points = ReadInt32Le(record + kNameBytes);
    }
    // A table longer than ours keeps its highest entries; one that fits keeps
    // the file's order.
    if (entries.size() > kBestCapacity) {
        std::stable_sort(entries.begin(), entries.end(),
                         [](const BestRecord& a, const BestRecord& b) { return a.points > b.points; });
        entries.resize(kBestCapacity);
    }
    std::copy(entries.begin(), entries.end(), game.bestTable.begin());
    game.bestCount = static_cast<int32_t>(entries.size());
    return result;
}

bool IsBestFile(const std::vector<unsigned char>& bytes)
{
    return HoldsExactly(bytes, ReadRecordCount(bytes), kBestRecordBytes);
}

ReplaceResult SaveBest()
{
    // A file the game could not read may hold entries it does not know of.
    if (game.bestFileUnreadable)
        return ReplaceResult::Failed;
    int32_t count = std::clamp(game.bestCount, 0, kBestCapacity);
    SortBest(game.bestTable.data(), count, 1);
    std::vector<unsigned char> bytes;
    bytes.reserve(kCountBytes + kBestRecordBytes * count);
    AppendInt32Le(bytes, count);
    for (int32_t k = 0; k < count; ++k) {
        const BestRecord& entry = game.bestTable[k];
        bytes.insert(bytes.end(), entry.name.begin(), entry.name.end());
        AppendInt32Le(bytes, entry.points);
    }
    return ReplaceRecordFile(RecordFile::Best, bytes);
}

bool IsNewBest(int32_t points)
{
    // The new result is in the sorted table, so beating entry 1 means beating
    // every earlier entry; equal points are no new record.
    return game.bestCount >= 2 && points > game.bestTable[1].points;
}

void AddBestResult(std::string_view name, int32_t points)
{
    BestRecord entry{};
    std::copy_n(name.data(), FitCp932(name, kNameBytes - 1), entry.name.data());
    entry.points = points;

    int32_t count = std::clamp(game.bestCount, 0, kBestCapacity);
    if (count < kBestCapacity) {
        game.bestTable[count] = entry;
        game.bestCount = count + 1;
        SortBest(game.bestTable.data(), game.bestCount, 1);
        return;
    }
    std::array<BestRecord, kBestCapacity + 1> entries;
    std::copy(game.bestTable.begin(), game.bestTable.end(), entries.begin());
    entries.back() = entry;
    SortBest(entries.data(), static_cast<int32_t>(entries.size()), 1);
    std::copy_n(entries.begin(), kBestCapacity, game.bestTable.begin());
    game.bestCount = kBestCapacity;
}

void SortBest(BestRecord* entries, int32_t count, int descending)
{
    if (count > 1)
        QuickSortBest(entries, descending, 0, count - 1);
}

// A partition sort around the mean of the range's first and last points: the
// left part by recursion, the right part by going round again. Both scans
// stop at points equal to the pivot, so entries with equal points trade
// places when the scans meet them; the stored order of ties depends on it.
void QuickSortBest(BestRecord* entries, int descending, int32_t lo, int32_t hi)
{
    // The two scans' tests; an ascending sort mirrors them.
    auto beforePivot = [descending](int32_t points, int64_t pivot) {
        return descending ? points > pivot : points < pivot;
    };
    auto afterPivot = [descending](int32_t points, int64_t pivot) {
        return descending ? points < pivot : points > pivot;
    };
    for (;;) {
        // In 64 bits the mean of two points near the int32 limits cannot overflow.
        int64_t pivot = (int64_t{entries[lo].points} + entries[hi].points) / 2;
        int32_t i = lo;
        int32_t j = hi;
        if (lo < hi) {
            for (;;) {
                while (beforePivot(entries[i].points, pivot))
                    ++i;
                while (afterPivot(entries[j].points, pivot))
                    --j;
                if (i >= j)
                    break;
                SwapBest(entries[i], entries[j]);
                ++i;
                --j;
                if (i > j)
                    break;
            }
        }
        if (lo < i - 1)
            QuickSortBest(entries, descending, lo, i - 1);
        if (j + 1 >= hi)
            return;
        lo = j + 1;
    }
}

void SwapBest(BestRecord& a, BestRecord& b)
{
    BestRecord temporary = a;
    a = b;
    b = temporary;
}

std::string FormatRankingLine(int place, const BestRecord& entry)
{
    return "第" + std::to_string(place) + "位 " + std::string(NameOf(entry)) + "さん：" +
           std::to_string(entry.points) + "ﾎﾟｲﾝﾄ";
}

std::string FormatNewRecordMessage(int32_t points)
{
    return "新記録" + std::to_string(points) + "ﾎﾟｲﾝﾄが出たよ";
}

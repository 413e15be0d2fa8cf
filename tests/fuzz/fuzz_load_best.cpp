// Any bytes as Best.dat: the table stays within its bounds, is saved sorted,
// reads back as saved, and still takes one more result.
#include <algorithm>
#include <cstring>

#include "records/best_file.h"
#include "records/goal.h"
#include "tests/fuzz/memory_files.h"

namespace {

bool TerminatedNames()
{
    return std::all_of(game.bestTable.begin(), game.bestTable.end(), [](const BestRecord& entry) {
        return std::memchr(entry.name.data(), 0, entry.name.size()) != nullptr;
    });
}

bool SortedDescending()
{
    return std::is_sorted(game.bestTable.begin(), game.bestTable.begin() + game.bestCount,
                          [](const BestRecord& a, const BestRecord& b) { return a.points > b.points; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    StartWithFile(RecordFile::Best, data, size);
    Require(LoadBest() == ReadResult::Read);
    int32_t count = game.bestCount;
    Require(count >= 0 && count <= kBestCapacity);
    Require(TerminatedNames());

    SaveBest();
    Require(SortedDescending());
    Require(MemoryFileOf(RecordFile::Best).bytes.size() == 4 + kBestRecordBytes * count);
    auto saved = game.bestTable;
    game.bestTable = {};
    Require(LoadBest() == ReadResult::Read && game.bestCount == count);
    Require(std::equal(saved.begin(), saved.begin() + count, game.bestTable.begin(),
                       [](const BestRecord& a, const BestRecord& b) {
                           return a.name == b.name && a.points == b.points;
                       }));

    RunFromInput(data, size);
    RecordGoal();  // a run without a correct key is no result
    Require(game.bestCount == (game.hitCount == 0 ? count : std::min(count + 1, kBestCapacity)));
    Require(SortedDescending());
    Require(TerminatedNames());
    return 0;
}

// Any bytes as Rank.dat: the history stays within its table, survives a save
// and a reload unchanged, and still takes one more result.
#include <algorithm>
#include <cstring>

#include "records/goal.h"
#include "records/history_file.h"
#include "tests/fuzz/memory_files.h"

namespace {

bool TerminatedTexts()
{
    return std::all_of(game.historyTexts.begin() + 1, game.historyTexts.end(), [](const HistoryRecord& record) {
        return std::memchr(record.text.data(), 0, record.text.size()) != nullptr;
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    StartWithFile(RecordFile::History, data, size);
    Require(LoadHistory() == ReadResult::Read);
    int32_t count = game.historyCount;
    Require(count >= 0 && count <= kMaxHistoryResults && game.historyBrowseMax == count);
    Require(TerminatedTexts());

    SaveHistory();
    auto loaded = game.historyTexts;
    Require(MemoryFileOf(RecordFile::History).bytes.size() == 4 + kHistoryRecordBytes * (count + 1));
    game.historyTexts = {};
    Require(LoadHistory() == ReadResult::Read && game.historyCount == count);
    Require(std::equal(loaded.begin(), loaded.begin() + count + 1, game.historyTexts.begin(),
                       [](const HistoryRecord& a, const HistoryRecord& b) { return a.text == b.text; }));

    RunFromInput(data, size);
    RecordGoal();  // a run without a correct key is no result
    Require(game.historyCount == (game.hitCount == 0 ? count : std::min(count + 1, kMaxHistoryResults)));
    Require(TerminatedTexts());
    return 0;
}

#include "records/history_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/cp932.h"
#include "records/record_bytes.h"

static_assert(sizeof(HistoryRecord) == kHistoryRecordBytes);

ReadResult LoadHistory()
{
    std::vector<unsigned char> bytes;
    const ReadResult result = ReadRecordFile(RecordFile::History, bytes, kMaxRecordFileBytes);
    game.historyFileUnreadable = result == ReadResult::Unreadable;
    if (result == ReadResult::Unreadable)
        return result;  // what the game already holds stays
    if (result == ReadResult::Missing) {
        game.historyCount = 0;
        return result;
    }
    // Record 0 comes first and is no result. A history longer than the table
    // keeps its newest results, the last records of the file.
    const std::size_t records = WholeRecords(bytes, kHistoryRecordBytes);
    const std::size_t results = CountedRecords(ReadRecordCount(bytes), records > 0 ? records - 1 : 0);
    const auto kept = static_cast<int32_t>(std::min<std::size_t>(results, kMaxHistoryResults));
    game.historyCount = kept;
    game.historyBrowseMax = kept;

    auto recordAt = [&](std::size_t k) { return &bytes[kCountBytes + kHistoryRecordBytes * k]; };
    if (records > 0)  // record 0 goes back to the file exactly as read
        std::memcpy(game.historyTexts[0].text.data(), recordAt(0), kHistoryRecordBytes);
    const std::size_t first = results - kept + 1;
    for (int32_t k = 1; k <= kept; ++k) {
        auto& text = game.historyTexts[k].text;
        std::memcpy(text.data(), recordAt(first + k - 1), text.size());
        // A result is shown as a terminated text.
        TerminateWithin(text.data(), text.size());
    }
    return result;
}

bool IsHistoryFile(const std::vector<unsigned char>& bytes)
{
    return HoldsExactly(bytes, int64_t{ReadRecordCount(bytes)} + 1, kHistoryRecordBytes);
}

ReplaceResult SaveHistory()
{
    // A file the game could not read may hold results it does not know of.
    if (game.historyFileUnreadable)
        return ReplaceResult::Failed;
    int32_t count = std::clamp(game.historyCount, 0, kMaxHistoryResults);
    std::vector<unsigned char> bytes;
    bytes.reserve(kCountBytes + kHistoryRecordBytes * (count + 1));
    AppendInt32Le(bytes, count);
    for (int32_t k = 0; k <= count; ++k) {
        const auto& text = game.historyTexts[k].text;
        bytes.insert(bytes.end(), text.begin(), text.end());
    }
    // A failed save leaves the previous file whole; the result stays in memory.
    return ReplaceRecordFile(RecordFile::History, bytes);
}

void AddHistoryResult(std::string_view text)
{
    auto& texts = game.historyTexts;
    int32_t count = std::clamp(game.historyCount, 0, kMaxHistoryResults);
    if (count == kMaxHistoryResults) {
        std::move(texts.begin() + 2, texts.end(), texts.begin() + 1);
        --count;
    }
    game.historyCount = ++count;
    HistoryRecord& record = texts[count];
    record = HistoryRecord{};
    std::copy_n(text.data(), FitCp932(text, record.text.size() - 1), record.text.data());
}

const char* HistoryTextAt(int position)
{
    if (position < 1 || position > kMaxHistoryResults)
        return "";
    return game.historyTexts[position].text.data();
}

int ScrolledHistoryPos(int pos, int scrollCode, int thumbPos, int browseMax)
{
    const int last = browseMax + 1;
    switch (scrollCode) {
    case 0: return std::max(pos - 1, 1);    // SB_LINELEFT
    case 1: return std::min(pos + 1, last); // SB_LINERIGHT
    case 2: return std::max(pos - 5, 1);    // SB_PAGELEFT
    case 3: return std::min(pos + 5, last); // SB_PAGERIGHT
    case 4:                                 // SB_THUMBPOSITION
    case 5: return thumbPos;                // SB_THUMBTRACK
    default: return pos;
    }
}

#include "records/history_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/cp932.h"
#include "app/platform.h"
#include "records/record_bytes.h"

static_assert(sizeof(HistoryRecord) == kHistoryRecordBytes);

bool LoadHistory()
{
    std::vector<unsigned char> bytes;
    if (!ReadRecordFile(RecordFile::History, bytes, kCountBytes + kHistoryRecordBytes * kHistoryCapacity)) {
        game.historyCount = 0;
        return false;
    }
    // Record 0 comes first and is no result.
    std::size_t records = WholeRecords(bytes, kHistoryRecordBytes);
    int32_t count = FitRecordCount(ReadRecordCount(bytes), records > 0 ? records - 1 : 0,
                                   kMaxHistoryResults);
    game.historyCount = count;
    game.historyBrowseMax = count;

    std::size_t toRead = std::min<std::size_t>(records, count + 1);
    for (std::size_t k = 0; k < toRead; ++k) {
        auto& text = game.historyTexts[k].text;
        std::memcpy(text.data(), &bytes[kCountBytes + kHistoryRecordBytes * k], text.size());
        // Record 0 goes back to the file exactly as read; a result must end
        // within its record, since it is shown as a terminated text.
        if (k > 0 && std::memchr(text.data(), 0, text.size()) == nullptr)
            text.back() = '\0';
    }
    return true;
}

void SaveHistory()
{
    int32_t count = std::clamp(game.historyCount, 0, kMaxHistoryResults);
    std::vector<unsigned char> bytes;
    bytes.reserve(kCountBytes + kHistoryRecordBytes * (count + 1));
    AppendInt32Le(bytes, count);
    for (int32_t k = 0; k <= count; ++k) {
        const auto& text = game.historyTexts[k].text;
        bytes.insert(bytes.end(), text.begin(), text.end());
    }
    // A failed save leaves the previous file whole; the result stays in memory.
    ReplaceRecordFile(RecordFile::History, bytes);
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

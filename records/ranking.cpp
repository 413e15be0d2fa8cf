#include "records/ranking.h"

#include <algorithm>

#include "base/game_state.h"
#include "records/best_file.h"
#include "records/history_file.h"

RankingReport OpenRanking()
{
    RankingReport report{};
    report.historyText = LoadHistory() == ReadResult::Read ? HistoryTextAt(1) : nullptr;
    LoadBest();
    report.places = std::clamp(game.bestCount, 0, kRankingPlaces);
    for (int k = 0; k < report.places; ++k)
        report.lines[k] = FormatRankingLine(k + 1, game.bestTable[k]);
    report.lastPosition = game.historyBrowseMax + 1;
    game.historyPos = 1;
    return report;
}

const char* ScrollHistory(int code, int thumbPos)
{
    constexpr int kLastMovingCode = 5;  // SB_THUMBTRACK
    if (code <= kLastMovingCode) {
        game.historyPos = ScrolledHistoryPos(game.historyPos, code, thumbPos, game.historyBrowseMax);
        return nullptr;
    }
    return HistoryTextAt(game.historyPos);
}

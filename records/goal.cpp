#include "records/goal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "base/cp932.h"
#include "base/game_state.h"
#include "records/best_file.h"
#include "records/history_file.h"
#include "records/record_store.h"

namespace {

// The statistics are written the way the C library writes them, NaN and
// infinity included.
template <typename... Values>
std::string Format(const char* format, Values... values)
{
    int length = std::snprintf(nullptr, 0, format, values...);
    std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
    std::snprintf(text.data(), text.size() + 1, format, values...);
    return text;
}

// The run's length. A run that ended before its first timer tick still
// holds the previous run's lastTick, from before startTick: that is no time
// at all, not a difference wrapped round to 49 days.
uint32_t ElapsedMilliseconds()
{
    uint32_t elapsed = game.lastTick - game.startTick;
    return static_cast<int32_t>(elapsed) < 0 ? 0 : elapsed;
}

// Toward zero through a 64-bit integer, keeping its low 32 bits. NaN, the
// infinities and anything else beyond 64 bits count 0.
int32_t TruncatePoints(double value)
{
    if (!(std::fabs(value) < 9223372036854775808.0))
        return 0;
    return static_cast<int32_t>(static_cast<int64_t>(value));
}

std::string_view PlayerName()
{
    auto end = std::find(game.playerName.begin(), game.playerName.end(), '\0');
    return {game.playerName.data(), static_cast<std::size_t>(end - game.playerName.begin())};
}

// The six lines of a history record. A long name is cut on a character
// boundary so that the five statistics stay whole within the record's 79 bytes.
std::string HistoryText(std::string_view name, const std::array<std::string, 5>& statistics)
{
    std::string lines;
    for (const std::string& text : statistics)
        lines += '\n' + text;
    lines += '\n';
    constexpr std::size_t kTextBytes = kHistoryRecordBytes - 1;
    std::size_t room = lines.size() < kTextBytes ? kTextBytes - lines.size() : 0;
    return std::string(name.substr(0, FitCp932(name, room))) + lines;
}

// What the player can do about a file that did not get the result. When
// the store cannot tell why, every likely cause is named.
const char* NotKeptAdvice(ReplaceResult why)
{
    switch (why) {
    case ReplaceResult::InUse: return "ほかのソフトが開いたままにしているみたい。閉じてから、また遊んでね。";
    case ReplaceResult::NotPermitted: return "読み取り専用か、書き込みが許されていないみたい。確かめてね。";
    case ReplaceResult::NoRoom: return "記録を残す場所がいっぱいみたい。空きを作ってね。";
    default:
        return "ほかのソフトで開いていないか、読み取り専用になっていないか、"
               "ディスクがいっぱいでないか確かめてね。";
    }
}

// Names the record files that did not get the result and why; empty when both did.
std::string FormatNotKeptMessage(ReplaceResult history, ReplaceResult best)
{
    const bool historyKept = history == ReplaceResult::Replaced;
    const bool bestKept = best == ReplaceResult::Replaced;
    if (historyKept && bestKept)
        return "";
    const std::string historyName = RecordFileName(RecordFile::History);
    const std::string bestName = RecordFileName(RecordFile::Best);
    const std::string files = historyKept ? bestName : bestKept ? historyName : historyName + " と " + bestName;
    std::string message = "今回の記録を " + files + " に残せなかったよぉ…\n";
    if (historyKept || bestKept || history == best)
        return message + NotKeptAdvice(historyKept ? best : history);
    return message + historyName + "：" + NotKeptAdvice(history) + "\n" + bestName + "：" + NotKeptAdvice(best);
}

} // namespace

int32_t ComputeScore(double accuracy, uint32_t seconds, double secondsPerCharacter)
{
    int32_t speed = TruncatePoints(1000.0 - secondsPerCharacter * 100.0);
    // One point less per 100 seconds; a run over 10000 seconds earns none.
    int64_t time = std::max<int64_t>((10000 - int64_t{seconds}) / 100, 0);
    int32_t accuracyPoints = TruncatePoints(accuracy);
    return static_cast<int32_t>(speed + time + accuracyPoints);
}

GoalReport RecordGoal()
{
    // A stage ends only on a correct key. A run without one is the key on the
    // end-of-stage slot after resting, which began and ended a run at once:
    // it is no result, so the dialog shows the stage's result as recorded
    // and nothing is stored again.
    if (game.hitCount == 0)
        return {game.goalTitle, game.goalStatistics, "", ""};

    GoalReport report;
    std::string_view name = PlayerName();
    report.title = std::string(name) + " さん、お疲れ様でした";

    game.accuracyPercent = static_cast<double>(game.hitCount) / static_cast<double>(game.keyCount) * 100.0;
    uint32_t elapsed = ElapsedMilliseconds();
    uint32_t seconds = elapsed / 1000;
    double secondsPerCharacter = elapsed * 0.001 / game.hitCount;
    report.statistics = {
        Format("%d 文字", game.keyCount),
        Format("%d 文字正解してるよぉ", game.hitCount),
        Format("%3f%%", game.accuracyPercent),
        Format("%d 秒", static_cast<int>(seconds)),
        Format("%3f 秒", secondsPerCharacter),
    };
    game.score = ComputeScore(game.accuracyPercent, seconds, secondsPerCharacter);
    game.goalTitle = report.title;
    game.goalStatistics = report.statistics;

    // A record file that could not be read is read again first: once it can
    // be, the result joins what it holds; while it cannot, it is left alone.
    if (game.historyFileUnreadable)
        LoadHistory();
    AddHistoryResult(HistoryText(name, report.statistics));
    const ReplaceResult history = SaveHistory();
    if (game.bestFileUnreadable)
        LoadBest();
    AddBestResult(name, game.score);
    const ReplaceResult best = SaveBest();
    // The player hears of a new record only once Best.dat holds it, and of
    // every file that did not get the result.
    if (best == ReplaceResult::Replaced && IsNewBest(game.score))
        report.newRecordMessage = FormatNewRecordMessage(game.score);
    report.notKeptMessage = FormatNotKeptMessage(history, best);
    return report;
}

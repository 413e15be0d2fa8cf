#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>

#include "course/keystroke.h"
#include "course/phrase_table.h"
#include "records/best_file.h"
#include "records/goal.h"
#include "records/history_file.h"
#include "tests/scratch_dir.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

class Goal : public ScratchDirTest {};

using Statistics = std::array<std::string, 5>;
const std::string kWorkedExampleLines = "\n120 文字\n110 文字正解してるよぉ\n91.666667%\n45 秒\n0.413636 秒\n";

// A finished run as the keystroke engine leaves it, recorded.
GoalReport RecordRun(int32_t keys, int32_t hits, uint32_t startTick, uint32_t lastTick)
{
    game.keyCount = keys;
    game.hitCount = hits;
    game.startTick = startTick;
    game.lastTick = lastTick;
    return RecordGoal();
}

std::string Repeat(std::string_view text, int times)
{
    std::string result;
    while (times-- > 0)
        result += text;
    return result;
}

TEST_F(Goal, WorkedExampleAndTheFilesItCreates)
{
    SetPlayerName("たろう");
    GoalReport report = RecordRun(120, 110, 5000, 50500);
    EXPECT_EQ(report.title, "たろう さん、お疲れ様でした");
    EXPECT_EQ(report.statistics, (Statistics{"120 文字", "110 文字正解してるよぉ", "91.666667%", "45 秒", "0.413636 秒"}));
    EXPECT_EQ(game.score, 1148);
    EXPECT_EQ(report.newRecordMessage, "");  // no earlier entry to beat
    EXPECT_EQ(game.historyCount, 1);
    EXPECT_EQ(game.bestCount, 1);

    const std::string history = "たろう" + kWorkedExampleLines;
    EXPECT_EQ(history.size(), 68u);
    const Bytes rank = ReadBytes("Rank.dat");
    EXPECT_EQ(rank, RankFile(1, "", {history}));  // 164 bytes
    // The name as code page 932 bytes, whatever the compiler made of the literal.
    EXPECT_EQ(Bytes(rank.begin() + 84, rank.begin() + 91), (Bytes{0x82, 0xBD, 0x82, 0xEB, 0x82, 0xA4, '\n'}));
    EXPECT_EQ(ReadBytes("Best.dat"), BestFile(1, {{"たろう", 1148}}));  // 58 bytes
    EXPECT_FALSE(std::filesystem::exists("Rank.dat.new") || std::filesystem::exists("Best.dat.new"));
}

// Ten keys, all correct (A = 100). A run that ended before its first timer
// tick has its last tick before its start: 0 ms, not the unsigned wrap.
TEST_F(Goal, SecondsAndTheirPoints)
{
    const struct {
        uint32_t startTick, lastTick;
        const char *seconds, *perCharacter;
        int32_t points;
    } cases[] = {
        {7000, 7999, "0 秒", "0.099900 秒", 990 + 100 + 100},
        {7000, 107999, "100 秒", "10.099900 秒", -9 + 99 + 100},
        {7000, 108000, "101 秒", "10.100000 秒", -10 + 98 + 100},
        {7000, 19345, "12 秒", "1.234500 秒", 876 + 99 + 100},
        {20000, 10000, "0 秒", "0.000000 秒", 1000 + 100 + 100},
        {7000, 6999, "0 秒", "0.000000 秒", 1000 + 100 + 100},
        {7, 7, "0 秒", "0.000000 秒", 1000 + 100 + 100},
        {0xFFFFF000u, 0x00000FA0u, "8 秒", "0.809600 秒", 919 + 99 + 100},  // the tick counter wrapped
        {0, 0x7FFFFFFFu, "2147483 秒", "214748.364700 秒", -21473836 + 0 + 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        ResetGame();
        EXPECT_EQ(RecordRun(10, 10, c.startTick, c.lastTick).statistics,
                  (Statistics{"10 文字", "10 文字正解してるよぉ", "100.000000%", c.seconds, c.perCharacter}));
        EXPECT_EQ(game.score, c.points);
    }
}

// Resting on the end-of-stage slot: every later key brings the goal dialog
// back with the stage's result as recorded, and nothing more is stored or
// announced. Before any stage was played there is nothing to show.
TEST_F(Goal, KeysAfterRestingShowTheRecordedResultAndStoreNothing)
{
    WriteBytes("Best.dat", BestFile(1, {{"Aoi", 1000}}));
    LoadBest();
    SetPlayerName("たろう");
    std::vector<GoalReport> shown;
    fake.onGoalDialog = [&] { shown.push_back(RecordGoal()); };
    auto keyAt = [](uint32_t tick, char key) {
        fake.tick = tick;
        PressKey(static_cast<unsigned char>(key));
    };

    game.entryIndex = FirstSlotOfStage(2) - 1;
    keyAt(1000, 'a');
    game.entryIndex = FirstSlotOfStage(2) - 2;  // the last phrase of stage 1
    keyAt(5000, 'g');
    fake.tick = 9000;
    HandleTimerTick();
    for (char key : std::string_view("annbatteirukai?"))
        keyAt(9010, key);
    const Bytes rank = ReadBytes("Rank.dat");
    keyAt(20000, 'a');
    keyAt(30000, 'b');

    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].title + shown[0].statistics[0] + shown[0].statistics[4], "");
    EXPECT_EQ(shown[1].statistics, (Statistics{"16 文字", "16 文字正解してるよぉ", "100.000000%", "4 秒", "0.250000 秒"}));
    EXPECT_EQ(shown[1].newRecordMessage, "新記録1174ﾎﾟｲﾝﾄが出たよ");
    for (std::size_t k : {2, 3}) {
        EXPECT_EQ(shown[k].title, "たろう さん、お疲れ様でした");
        EXPECT_EQ(shown[k].statistics, shown[1].statistics);
        EXPECT_EQ(shown[k].newRecordMessage + shown[k].notKeptMessage, "");
    }
    EXPECT_EQ((std::array{game.historyCount, game.bestCount}), (std::array{1, 2}));
    EXPECT_EQ(ReadBytes("Rank.dat"), rank);
    EXPECT_EQ(ReadBytes("Best.dat"), BestFile(2, {{"たろう", 1174}, {"Aoi", 1000}}));
}

TEST(ComputeScore, SumsSpeedTimeAndAccuracy)
{
    constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const struct {
        double accuracy;
        uint32_t seconds;
        double perCharacter;
        int32_t points;
    } cases[] = {
        // Speed 0 at 10 s per character: the time term alone, never below 0.
        {0, 0, 10.0, 100},  {0, 1, 10.0, 99},  {0, 100, 10.0, 99},  {0, 101, 10.0, 98},  {0, 9901, 10.0, 0},
        {0, 10000, 10.0, 0},  {0, 10001, 10.0, 0},  {0, 4294957, 10.0, 0},  {0, 0xFFFFFFFFu, 10.0, 0},
        {100.0, 0, 0.0, 1200},  {99.99, 0, 20.0, -1000 + 100 + 99},  {0, 0, 1e7, -999999000 + 100},
        // Values without an integer part count 0.
        {kNan, 0, kNan, 100},  {kInf, 0, kInf, 100},  {-kInf, 0, -kInf, 100},  {0, 0, 1e30, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.accuracy << " " << c.seconds << " " << c.perCharacter);
        EXPECT_EQ(ComputeScore(c.accuracy, c.seconds, c.perCharacter), c.points);
    }
}

TEST_F(Goal, LongNamesAreCutOnCharacterBoundaries)
{
    // The worked example's statistics take 62 bytes, leaving 17 for the name.
    // 珠 (0x8E 0xEC) has a trail byte that looks like a lead byte.
    const struct {
        std::string name, historyName, bestName;
    } cases[] = {
        {Repeat("A", 99), Repeat("A", 17), Repeat("A", 49)},
        {Repeat("ｱ", 99), Repeat("ｱ", 17), Repeat("ｱ", 49)},
        {Repeat("あ", 49), Repeat("あ", 8), Repeat("あ", 24)},
        {Repeat("珠", 49), Repeat("珠", 8), Repeat("珠", 24)},
        {"A" + Repeat("珠", 49), "A" + Repeat("珠", 8), "A" + Repeat("珠", 24)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.size());
        ResetGame();
        SetPlayerName(c.name);
        EXPECT_EQ(RecordRun(120, 110, 5000, 50500).title, c.name + " さん、お疲れ様でした");
        EXPECT_EQ(TextOf(game.historyTexts[1].text), c.historyName + kWorkedExampleLines);
        EXPECT_EQ(TextOf(game.bestTable[0].name), c.bestName);
    }
}

TEST_F(Goal, NewRecordMessageOnlyForAStrictlyBetterSavedResult)
{
    const Bytes best = BestFile(1, {{"Aoi", 1000}});
    WriteBytes("Best.dat", best);
    LoadBest();
    SetPlayerName("たろう");

    // Best.dat cannot be replaced: no new record, a warning that names it, the
    // file stays, the table keeps the result.
    std::filesystem::create_directory("Best.dat.new");
    const GoalReport report = RecordRun(120, 110, 5000, 50500);
    EXPECT_EQ(report.newRecordMessage, "");
    EXPECT_EQ(report.notKeptMessage.substr(0, report.notKeptMessage.find('\n')),
              "今回の記録を Best.dat に残せなかったよぉ…");
    EXPECT_EQ(ReadBytes("Best.dat"), best);
    EXPECT_EQ(game.bestCount, 2);
    EXPECT_EQ(TextOf(game.bestTable[0].name), "たろう");
    std::filesystem::remove("Best.dat.new");

    LoadBest();
    EXPECT_EQ(RecordGoal().newRecordMessage, "新記録1148ﾎﾟｲﾝﾄが出たよ");
    LoadBest();
    EXPECT_EQ(game.bestCount, 2);
    EXPECT_EQ(game.bestTable[0].points, 1148);
    EXPECT_EQ(RecordGoal().newRecordMessage, "");  // the same points again
}

// Three results stored in each file.
const Bytes kStoredRank = RankFile(3, "", {"a\n", "b\n", "c\n"});
const Bytes kStoredBest = BestFile(3, {{"Aoi", 7}, {"Ken", 5}, {"Mio", 3}});
const std::string kBothNotKept = "今回の記録を Rank.dat と Best.dat に残せなかったよぉ…";
const std::string kReadOnlyAdvice = "読み取り専用か、書き込みが許されていないみたい。確かめてね。";
const std::string kUnknownAdvice =
    "ほかのソフトで開いていないか、読み取り専用になっていないか、ディスクがいっぱいでないか確かめてね。";

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST_F(Goal, ReadOnlyFilesAreReadButNeverReplaced)
{
    using std::filesystem::perms;
    const perms writable = perms::owner_write | perms::group_write | perms::others_write;
    WriteBytes("Rank.dat", kStoredRank);
    WriteBytes("Best.dat", kStoredBest);
    for (const char* name : {"Rank.dat", "Best.dat"})
        std::filesystem::permissions(name, writable, std::filesystem::perm_options::remove);
    EXPECT_EQ(LoadHistory(), ReadResult::Read);
    EXPECT_EQ(LoadBest(), ReadResult::Read);
    SetPlayerName("たろう");
    EXPECT_EQ(RecordRun(120, 110, 5000, 50500).notKeptMessage, kBothNotKept + "\n" + kReadOnlyAdvice);
    EXPECT_EQ(ReadBytes("Rank.dat"), kStoredRank);
    EXPECT_EQ(ReadBytes("Best.dat"), kStoredBest);
    for (const char* name : {"Rank.dat", "Best.dat"}) {
        EXPECT_EQ(std::filesystem::status(name).permissions() & writable, perms::none) << name;
        std::filesystem::permissions(name, writable, std::filesystem::perm_options::add);
    }
    EXPECT_FALSE(std::filesystem::exists("Rank.dat.new") || std::filesystem::exists("Best.dat.new"));

    // Two files kept back for two reasons: each is named with its own; a file
    // that could not be read says every likely cause.
    std::filesystem::permissions("Rank.dat", writable, std::filesystem::perm_options::remove);
    std::filesystem::remove("Best.dat");
    std::filesystem::create_directory("Best.dat");
    EXPECT_EQ(LoadBest(), ReadResult::Unreadable);
    EXPECT_EQ(RecordRun(120, 110, 5000, 50500).notKeptMessage,
              kBothNotKept + "\nRank.dat：" + kReadOnlyAdvice + "\nBest.dat：" + kUnknownAdvice);
    std::filesystem::permissions("Rank.dat", writable, std::filesystem::perm_options::add);
    EXPECT_EQ(RecordRun(120, 110, 5000, 50500).notKeptMessage,
              "今回の記録を Best.dat に残せなかったよぉ…\n" + kUnknownAdvice);
}

#ifdef _WIN32
void ExpectStoredResultsAndTheNewOne()
{
    EXPECT_EQ(ReadBytes("Rank.dat"), RankFile(4, "", {"a\n", "b\n", "c\n", "たろう" + kWorkedExampleLines}));
    EXPECT_EQ(ReadBytes("Best.dat"), BestFile(4, {{"たろう", 1148}, {"Aoi", 7}, {"Ken", 5}, {"Mio", 3}}));
}

// Another program's open handle on a file, with the sharing it allows.
class HeldOpen {
public:
    HeldOpen(const char* name, DWORD share)
        : handle_(CreateFileA(name, GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr))
    {
        EXPECT_NE(handle_, INVALID_HANDLE_VALUE) << name;
    }
    ~HeldOpen() { CloseHandle(handle_); }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;

private:
    HANDLE handle_;
};

TEST_F(Goal, FilesHeldOpenElsewhereKeepEveryStoredResult)
{
    WriteBytes("Rank.dat", kStoredRank);
    WriteBytes("Best.dat", kStoredBest);
    SetPlayerName("たろう");
    {
        // A reader that shares everything does not get in the way.
        HeldOpen reader("Rank.dat", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        EXPECT_EQ(LoadHistory(), ReadResult::Read);
    }
    ResetGame();
    SetPlayerName("たろう");
    {
        // Held without sharing at start-up: shown as empty, never replaced,
        // and the player is told.
        HeldOpen rank("Rank.dat", 0), best("Best.dat", 0);
        EXPECT_EQ(LoadHistory(), ReadResult::Unreadable);
        EXPECT_EQ(LoadBest(), ReadResult::Unreadable);
        EXPECT_EQ(game.historyCount + game.bestCount, 0);
        EXPECT_EQ(FirstLine(RecordRun(120, 110, 5000, 50500).notKeptMessage), kBothNotKept);
    }
    EXPECT_EQ(ReadBytes("Rank.dat"), kStoredRank);
    EXPECT_EQ(ReadBytes("Best.dat"), kStoredBest);

    // Released: the next goal adds its result to what the files hold.
    EXPECT_EQ(RecordRun(120, 110, 5000, 50500).notKeptMessage, "");
    ExpectStoredResultsAndTheNewOne();

    // Held as the next result is saved: the player hears another program has them.
    {
        HeldOpen rank("Rank.dat", 0), best("Best.dat", 0);
        EXPECT_EQ(RecordRun(120, 110, 5000, 50500).notKeptMessage,
                  kBothNotKept + "\nほかのソフトが開いたままにしているみたい。閉じてから、また遊んでね。");
    }
    ExpectStoredResultsAndTheNewOne();

    // Held while the ranking reloads them: the game keeps what it holds.
    HeldOpen rank("Rank.dat", 0), best("Best.dat", 0);
    EXPECT_EQ(LoadHistory(), ReadResult::Unreadable);
    EXPECT_EQ(LoadBest(), ReadResult::Unreadable);
    EXPECT_EQ(game.historyCount, 5);
    EXPECT_EQ(game.bestCount, 5);
}
#endif

} // namespace

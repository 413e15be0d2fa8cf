#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "records/history_file.h"
#include "records/ranking.h"
#include "tests/scratch_dir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

class History : public ScratchDirTest {};

std::string ResultText(int k) { return "result " + std::to_string(k) + "\n"; }

// Record 0 is not ours to judge: it is written back as read, unterminated
// too. An unterminated result reads as its first 79 bytes.
TEST_F(History, ThreeResultsRoundTripKeepingRecord0)
{
    const std::string record0(80, 'B'), first("one\n\0junk after the end", 24), second(80, 'A');
    WriteBytes("Rank.dat", RankFile(2, record0, {first, second}));
    ASSERT_EQ(LoadHistory(), ReadResult::Read);
    AddHistoryResult("three\n");
    SaveHistory();
    EXPECT_EQ(ReadBytes("Rank.dat"), RankFile(3, record0, {first, second.substr(0, 79), "three\n"}));
    EXPECT_EQ(HistoryTextAt(2), second.substr(0, 79));
#ifdef _WIN32
    AddHistoryResult("four\n");
    SaveHistory();  // replacing a hidden file keeps it hidden
    const DWORD attributes = GetFileAttributesA("Rank.dat");
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN));
    ASSERT_EQ(LoadHistory(), ReadResult::Read);
    EXPECT_EQ(game.historyCount, 4);
#endif
}

TEST_F(History, MissingFileKeepsTheTextsAndBrowseRange)
{
    game.historyCount = game.historyBrowseMax = 3;
    std::strcpy(game.historyTexts[1].text.data(), "earlier");
    EXPECT_EQ(LoadHistory(), ReadResult::Missing);
    EXPECT_EQ(game.historyCount, 0);
    EXPECT_EQ(game.historyBrowseMax, 3);
    EXPECT_STREQ(HistoryTextAt(1), "earlier");
    std::filesystem::create_directory("Rank.dat");  // cannot be read as a file
    EXPECT_EQ(LoadHistory(), ReadResult::Unreadable);
    EXPECT_EQ(SaveHistory(), ReplaceResult::Failed);
    EXPECT_TRUE(std::filesystem::is_directory("Rank.dat"));
}

// Whatever a file holds, the count stays within the file and the table, every
// browsable text ends within its record, the neighbouring fields stay, and
// what was read is saved and read back alike.
TEST_F(History, HostileFilesAreBoundedByTheFile)
{
    Bytes truncated = RankFile(3, "", {"a", "b", "c"});
    truncated.resize(truncated.size() - 40);
    Bytes halfRecord = RankFile(1, "", {});
    halfRecord.resize(44);
    Bytes believable = Noise(10 * 1024 * 1024, 1);
    believable[0] = 200, believable[1] = believable[2] = believable[3] = 0;
    Bytes many = RankFile(300, "", {});
    for (int k = 1; k <= 300; ++k)
        AppendField(many, ResultText(k), 80);
    const struct {
        const char* what;
        Bytes file;
        int32_t count;  // -1: whatever the noise says
        bool recordFile;  // as the game writes one
    } cases[] = {
        {"empty", Bytes{}, 0, false},
        {"short count", Bytes{1, 0}, 0, false},
        {"count 0", RankFile(0, "", {}), 0, true},
        {"count 0 before results", RankFile(0, "", {"a", "b"}), 0, false},
        {"count only", Bytes{1, 0, 0, 0}, 0, false},
        {"record 0 cut short", halfRecord, 0, false},
        // A negative count is no count: the whole records present are results.
        {"negative", RankFile(-1, "", {"a", "b"}), 2, false},
        {"most negative", RankFile(INT32_MIN, "", {"a", "b"}), 2, false},
        {"largest", RankFile(INT32_MAX, "", {"a", "b"}), 2, false},
        {"more than present", RankFile(1000, "", {"a", "b"}), 2, false},
        {"last record cut short", truncated, 2, false},
        {"ten megabytes of noise", Noise(10 * 1024 * 1024, 0), -1, false},
        {"noise with a believable count", believable, 200, false},
        {"more than the table holds", many, 254, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetGame();
        game.historyBrowseMax = 3;
        std::strcpy(game.historyTexts[1].text.data(), "earlier");
        game.bestCount = 77;
        game.bestTable[0].points = 99;
        EXPECT_EQ(IsHistoryFile(c.file), c.recordFile);
        WriteBytes("Rank.dat", c.file);
        ASSERT_EQ(LoadHistory(), ReadResult::Read);
        const int32_t count = game.historyCount;
        EXPECT_EQ(count, c.count < 0 ? count : c.count);
        EXPECT_TRUE(count >= 0 && count <= 254) << count;
        EXPECT_EQ(game.historyBrowseMax, count);
        for (int k = 1; k <= 254; ++k)
            EXPECT_LT(std::strlen(HistoryTextAt(k)), 80u) << k;
        if (count == 0) {
            EXPECT_STREQ(HistoryTextAt(1), "earlier");  // no record read
        }
        EXPECT_EQ(game.bestCount, 77);
        EXPECT_EQ(game.bestTable[0].points, 99);

        SaveHistory();
        ASSERT_EQ(LoadHistory(), ReadResult::Read);
        EXPECT_EQ(game.historyCount, count);
        EXPECT_EQ(ReadBytes("Rank.dat").size(), 4 + 80 * (count + 1u));
    }
    EXPECT_EQ(HistoryTextAt(1), ResultText(47));  // the newest 254 results
    EXPECT_EQ(HistoryTextAt(254), ResultText(300));
}

// A record file of up to 16 MiB is read; a larger one is left alone as
// unreadable, and the game keeps what it holds.
TEST_F(History, SixteenMebibytesIsTheLargestFileRead)
{
    Bytes file = RankFile(2, "", {"a", "b"});
    file.resize(16 * 1024 * 1024);
    WriteBytes("Rank.dat", file);
    EXPECT_EQ(LoadHistory(), ReadResult::Read);
    file.push_back(0);
    WriteBytes("Rank.dat", file);
    EXPECT_EQ(LoadHistory(), ReadResult::Unreadable);
    EXPECT_EQ(game.historyCount, 2);
}

TEST_F(History, FullHistoryDropsTheOldestResult)
{
    std::memset(game.historyTexts[0].text.data(), 'B', 80);
    for (int k = 1; k <= 254; ++k)
        AddHistoryResult(ResultText(k));
    ASSERT_EQ(game.historyCount, 254);
    AddHistoryResult("newest\n");
    EXPECT_EQ(game.historyCount, 254);
    EXPECT_EQ(HistoryTextAt(1), ResultText(2));
    EXPECT_EQ(HistoryTextAt(253), ResultText(254));
    EXPECT_STREQ(HistoryTextAt(254), "newest\n");
    for (int outside : {-1, 0, 255, 1000})
        EXPECT_STREQ(HistoryTextAt(outside), "") << outside;

    SaveHistory();
    Bytes file = ReadBytes("Rank.dat");
    ASSERT_EQ(file.size(), 4 + 80 * 255u);
    EXPECT_EQ(std::string(file.begin() + 4, file.begin() + 84), std::string(80, 'B'));
}

TEST_F(History, LongTextsAreCutOnCharacterBoundaries)
{
    std::string kanji;  // 珠 is 0x8E 0xEC: a trail byte in the lead-byte range
    for (int i = 0; i < 50; ++i)
        kanji += "珠";
    for (const auto& [text, kept] : {std::pair{std::string(100, 'x'), 79}, {kanji, 78}, {"A" + kanji, 79}}) {
        ResetGame();
        AddHistoryResult(text);
        EXPECT_EQ(HistoryTextAt(1), text.substr(0, kept));
    }
}

TEST_F(History, FailedSaveLeavesThePreviousFile)
{
    const Bytes old = RankFile(1, "", {"old\n"});
    WriteBytes("Rank.dat", old);
    ASSERT_EQ(LoadHistory(), ReadResult::Read);

    std::filesystem::create_directory("Rank.dat.new");  // in the way of the new file
    AddHistoryResult("lost\n");
    SaveHistory();
    EXPECT_EQ(ReadBytes("Rank.dat"), old);
    EXPECT_EQ(game.historyCount, 2);  // the result stays in memory
    std::filesystem::remove("Rank.dat.new");

#ifndef _WIN32
    // The disk fills up half-way through the new file.
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    rlimit small = limit;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    AddHistoryResult("lost too\n");
    SaveHistory();
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(ReadBytes("Rank.dat"), old);
    EXPECT_FALSE(std::filesystem::exists("Rank.dat.new"));
#endif

    const int32_t count = game.historyCount;
    SaveHistory();  // the next save that can write brings the file up to date
    ASSERT_EQ(LoadHistory(), ReadResult::Read);
    EXPECT_EQ(game.historyCount, count);
}

// The ranking dialog as it opens: both files read again, whatever the game
// held, at most five places, and the browser back on the first result. Then
// the browser: a step or a thumb being dragged shows nothing yet (the thumb
// stays where the player has it); the action's end shows the text.
TEST_F(History, RankingOpensOnTheFilesAsTheyAreNow)
{
    const Entries seven = {{"A", 70}, {"B", 60}, {"C", 50}, {"D", 40}, {"E", 30}, {"F", 20}, {"G", 10}};
    const struct {
        const char* what;
        Bytes rank, best;  // empty: no such file
        std::vector<std::string> lines;
        const char* historyText;  // nullptr: the label keeps its own
        int lastPosition;
    } cases[] = {
        {"no files", {}, {}, {}, nullptr, 1},
        {"one of each", RankFile(1, "", {"one\n"}), BestFile(1, {{"Aoi", 5}}), {"第1位 Aoiさん：5ﾎﾟｲﾝﾄ"}, "one\n", 2},
        {"seven entries", RankFile(3, "", {"a\n", "b\n", "c\n"}), BestFile(7, seven),
         {"第1位 Aさん：70ﾎﾟｲﾝﾄ", "第2位 Bさん：60ﾎﾟｲﾝﾄ", "第3位 Cさん：50ﾎﾟｲﾝﾄ", "第4位 Dさん：40ﾎﾟｲﾝﾄ",
          "第5位 Eさん：30ﾎﾟｲﾝﾄ"},
         "a\n", 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetGame();
        game.bestCount = 1;  // what the game read at start-up
        game.historyPos = 3;
        std::filesystem::remove("Rank.dat");
        std::filesystem::remove("Best.dat");
        if (!c.rank.empty())
            WriteBytes("Rank.dat", c.rank);
        if (!c.best.empty())
            WriteBytes("Best.dat", c.best);
        const RankingReport report = OpenRanking();
        EXPECT_EQ(std::vector<std::string>(report.lines.begin(), report.lines.begin() + report.places), c.lines);
        EXPECT_EQ(report.historyText ? std::string(report.historyText) : "(none)",
                  c.historyText ? c.historyText : "(none)");
        EXPECT_EQ(report.lastPosition, c.lastPosition);
        EXPECT_EQ(game.historyPos, 1);
    }

    enum { LineRight = 1, ThumbPosition = 4, ThumbTrack = 5, Left = 6, EndScroll = 8 };
    const struct {
        int code, thumb, pos;
        const char* text;  // nullptr: nothing shown yet
    } actions[] = {
        {LineRight, 0, 2, nullptr}, {EndScroll, 0, 2, "b\n"},
        {ThumbTrack, 3, 3, nullptr}, {ThumbTrack, 4, 4, nullptr}, {ThumbPosition, 4, 4, nullptr},
        {Left, 0, 4, ""},  // the empty record after the last result
    };
    for (const auto& a : actions) {
        const char* text = ScrollHistory(a.code, a.thumb);
        EXPECT_EQ(text ? std::string(text) : "(none)", a.text ? a.text : "(none)") << "code " << a.code;
        EXPECT_EQ(game.historyPos, a.pos) << "code " << a.code;
    }
}

TEST(HistoryBrowser, ScrollActionsMoveThePositionWithinItsRange)
{
    enum { LineLeft, LineRight, PageLeft, PageRight, ThumbPosition, ThumbTrack, Left, Right, EndScroll };
    const struct {
        int pos, code, thumb, browseMax, expected;
    } cases[] = {
        {1, LineRight, 0, 3, 2},  {3, LineRight, 0, 3, 4},  // the empty record after the last result
        {4, LineRight, 0, 3, 4},  {2, LineLeft, 0, 3, 1},  {1, LineLeft, 0, 3, 1},  {4, PageLeft, 0, 3, 1},
        {1, PageRight, 0, 3, 4},  {1, PageRight, 0, 20, 6},  {9, PageLeft, 0, 20, 4},
        {1, ThumbTrack, 3, 3, 3},  {1, ThumbPosition, 3, 3, 3},
        // The codes above 5 only show the position.
        {2, Left, 0, 3, 2},  {2, Right, 0, 3, 2},  {2, EndScroll, 0, 3, 2},
        {1, LineRight, 0, 0, 1},  // no results: a single position
        {254, LineRight, 0, 254, 255},  {255, LineRight, 0, 254, 255},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScrolledHistoryPos(c.pos, c.code, c.thumb, c.browseMax), c.expected)
            << "pos " << c.pos << " code " << c.code << " max " << c.browseMax;
}

} // namespace

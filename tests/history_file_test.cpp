#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "records/history_file.h"
#include "tests/scratch_dir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

class History : public ScratchDirTest {};

// A Rank.dat image: the count, record 0, then one record per text.
Bytes RankFile(int32_t count, std::string_view record0, std::initializer_list<std::string_view> texts)
{
    Bytes bytes;
    AppendLe32(bytes, count);
    AppendField(bytes, record0, 80);
    for (std::string_view text : texts)
        AppendField(bytes, text, 80);
    return bytes;
}

std::string ResultText(int k) { return "result " + std::to_string(k) + "\n"; }

// What a hostile file must never break: the count within the table and every
// browsable text ending within its record.
void ExpectSaneHistory()
{
    EXPECT_GE(game.historyCount, 0);
    EXPECT_LE(game.historyCount, 254);
    EXPECT_EQ(game.historyBrowseMax, game.historyCount);
    for (int k = 1; k <= 254; ++k)
        EXPECT_LT(std::strlen(HistoryTextAt(k)), 80u) << k;
}

TEST_F(History, ThreeResultsRoundTripKeepingRecord0)
{
    std::string record0(80, 'B');  // not ours to judge: written back as read, unterminated too
    std::string first("one\n\0junk after the end", 24);
    WriteBytes("Rank.dat", RankFile(2, record0, {first, "two\n"}));
    ASSERT_TRUE(LoadHistory());
    AddHistoryResult("three\n");
    SaveHistory();
    EXPECT_EQ(ReadBytes("Rank.dat"), RankFile(3, record0, {first, "two\n", "three\n"}));

    ResetGame();
    game.historyBrowseMax = 9;
    ASSERT_TRUE(LoadHistory());
    EXPECT_EQ(game.historyCount, 3);
    EXPECT_EQ(game.historyBrowseMax, 3);
    EXPECT_EQ(std::string(game.historyTexts[0].text.data(), 80), record0);
    EXPECT_STREQ(HistoryTextAt(1), "one\n");
    EXPECT_STREQ(HistoryTextAt(3), "three\n");
    EXPECT_STREQ(HistoryTextAt(4), "");
}

TEST_F(History, EmptyFilesHoldNoResults)
{
    for (const Bytes& file : {Bytes{}, Bytes{5}, RankFile(0, "", {})}) {
        SCOPED_TRACE(file.size());
        ResetGame();
        game.historyCount = 3;
        game.historyBrowseMax = 3;
        std::strcpy(game.historyTexts[1].text.data(), "earlier");
        WriteBytes("Rank.dat", file);
        EXPECT_TRUE(LoadHistory());
        EXPECT_EQ(game.historyCount, 0);
        EXPECT_EQ(game.historyBrowseMax, 0);
        EXPECT_STREQ(HistoryTextAt(1), "earlier");  // no record 1 was read
    }
}

TEST_F(History, MissingFileKeepsTheTextsAndBrowseRange)
{
    game.historyCount = 3;
    game.historyBrowseMax = 3;
    std::strcpy(game.historyTexts[1].text.data(), "earlier");
    EXPECT_FALSE(LoadHistory());
    EXPECT_EQ(game.historyCount, 0);
    EXPECT_EQ(game.historyBrowseMax, 3);
    EXPECT_STREQ(HistoryTextAt(1), "earlier");

    std::filesystem::create_directory("Rank.dat");  // cannot be opened as a file
    EXPECT_FALSE(LoadHistory());
}

TEST_F(History, HostileCountsAreBoundedByTheFile)
{
    Bytes truncated = RankFile(3, "", {"a", "b", "c"});
    truncated.resize(truncated.size() - 40);
    Bytes halfRecord = RankFile(1, "", {});
    halfRecord.resize(44);
    Bytes many;
    AppendLe32(many, 300);
    AppendField(many, "", 80);
    for (int k = 1; k <= 300; ++k)
        AppendField(many, ResultText(k), 80);
    struct Case {
        const char* what;
        Bytes file;
        int32_t count;
    } cases[] = {
        {"negative", RankFile(-1, "", {"a", "b"}), 0},
        {"most negative", RankFile(INT32_MIN, "", {"a", "b"}), 0},
        {"largest", RankFile(INT32_MAX, "", {"a", "b"}), 2},
        {"more than present", RankFile(1000, "", {"a", "b"}), 2},
        {"last record cut short", truncated, 2},
        {"count only", Bytes{1, 0, 0, 0}, 0},
        {"record 0 cut short", halfRecord, 0},
        {"short count", Bytes{1, 0}, 0},
        {"more than the table holds", many, 254},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetGame();
        game.bestCount = 77;  // the neighbouring fields stay untouched
        game.bestTable[0].points = 99;
        WriteBytes("Rank.dat", c.file);
        EXPECT_TRUE(LoadHistory());
        EXPECT_EQ(game.historyCount, c.count);
        ExpectSaneHistory();
        EXPECT_EQ(game.bestCount, 77);
        EXPECT_EQ(game.bestTable[0].points, 99);
    }
    EXPECT_STREQ(HistoryTextAt(254), ResultText(254).c_str());  // the first 254 results
}

TEST_F(History, UnterminatedTextsEndWithinTheirRecord)
{
    WriteBytes("Rank.dat", RankFile(1, std::string(80, 'B'), {std::string(80, 'A')}));
    ASSERT_TRUE(LoadHistory());
    EXPECT_EQ(std::string(HistoryTextAt(1)), std::string(79, 'A'));
    EXPECT_EQ(std::string(game.historyTexts[0].text.data(), 80), std::string(80, 'B'));
}

TEST_F(History, NoiseLoadsSafely)
{
    for (uint32_t round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        Bytes noise = Noise(10 * 1024 * 1024, round);
        if (round == 1)
            noise[0] = 200, noise[1] = noise[2] = noise[3] = 0;  // a believable count
        ResetGame();
        WriteBytes("Rank.dat", noise);
        ASSERT_TRUE(LoadHistory());
        ExpectSaneHistory();
        // What was read is saved and read back alike.
        int32_t count = game.historyCount;
        SaveHistory();
        ASSERT_TRUE(LoadHistory());
        EXPECT_EQ(game.historyCount, count);
        EXPECT_EQ(ReadBytes("Rank.dat").size(), 4 + 80 * (count + 1u));
    }
}

TEST_F(History, FullHistoryDropsTheOldestResult)
{
    std::memset(game.historyTexts[0].text.data(), 'B', 80);
    for (int k = 1; k <= 254; ++k)
        AddHistoryResult(ResultText(k));
    ASSERT_EQ(game.historyCount, 254);
    AddHistoryResult("newest\n");
    EXPECT_EQ(game.historyCount, 254);
    EXPECT_STREQ(HistoryTextAt(1), ResultText(2).c_str());
    EXPECT_STREQ(HistoryTextAt(253), ResultText(254).c_str());
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
    struct Case {
        std::string text;
        std::size_t kept;
    } cases[] = {{std::string(100, 'x'), 79}, {kanji, 78}, {"A" + kanji, 79}};
    for (const Case& c : cases) {
        ResetGame();
        AddHistoryResult(c.text);
        EXPECT_EQ(std::string(HistoryTextAt(1)), c.text.substr(0, c.kept));
    }
}

TEST_F(History, FailedSaveLeavesThePreviousFile)
{
    Bytes old = RankFile(1, "", {"old\n"});
    WriteBytes("Rank.dat", old);
    ASSERT_TRUE(LoadHistory());

    std::filesystem::create_directory("Rank.dat.new");  // in the way of the new file
    AddHistoryResult("lost\n");
    SaveHistory();
    EXPECT_EQ(ReadBytes("Rank.dat"), old);
    EXPECT_TRUE(std::filesystem::is_directory("Rank.dat.new"));
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

    int32_t count = game.historyCount;
    SaveHistory();  // the next save that can write brings the file up to date
    ASSERT_TRUE(LoadHistory());
    EXPECT_EQ(game.historyCount, count);
}

void SetReadOnly(const char* name, bool readOnly)
{
#ifdef _WIN32
    SetFileAttributesA(name, readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
#else
    using std::filesystem::perms;
    std::filesystem::permissions(name, perms::owner_write | perms::group_write | perms::others_write,
                                 readOnly ? std::filesystem::perm_options::remove
                                          : std::filesystem::perm_options::add);
#endif
}

TEST_F(History, ReadOnlyFileCountsAsMissingAndStays)
{
    Bytes old = RankFile(1, "", {"old\n"});
    WriteBytes("Rank.dat", old);
    SetReadOnly("Rank.dat", true);
    if (std::ofstream("Rank.dat", std::ios::app)) {
        SetReadOnly("Rank.dat", false);
        GTEST_SKIP() << "this user may write read-only files";
    }
    EXPECT_FALSE(LoadHistory());
    AddHistoryResult("new\n");
    SaveHistory();
    EXPECT_EQ(ReadBytes("Rank.dat"), old);
    EXPECT_FALSE(std::filesystem::exists("Rank.dat.new"));
    SetReadOnly("Rank.dat", false);
}

#ifdef _WIN32
TEST_F(History, RankFileIsHiddenAndStaysHidden)
{
    AddHistoryResult("one\n");
    SaveHistory();
    AddHistoryResult("two\n");
    SaveHistory();  // replacing keeps it hidden
    DWORD attributes = GetFileAttributesA("Rank.dat");
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(LoadHistory());
    EXPECT_EQ(game.historyCount, 2);
}
#endif

} // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "records/best_file.h"
#include "tests/scratch_dir.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

class Best : public ScratchDirTest {};

BestRecord Record(const Entry& entry)
{
    BestRecord record{};
    entry.name.copy(record.name.data(), record.name.size() - 1);
    record.points = entry.points;
    return record;
}

void SetTable(const Entries& entries)
{
    game.bestCount = static_cast<int32_t>(entries.size());
    for (std::size_t k = 0; k < entries.size(); ++k)
        game.bestTable[k] = Record(entries[k]);
}

Entries Table()
{
    Entries entries;
    for (int32_t k = 0; k < game.bestCount; ++k)
        entries.push_back({std::string(TextOf(game.bestTable[k].name)), game.bestTable[k].points});
    return entries;
}

// What the goal does with a new result: add it, sort, save; true for a saved new record.
bool AddResultAndSave(const Entry& result)
{
    AddBestResult(result.name, result.points);
    return SaveBest() == ReplaceResult::Replaced && IsNewBest(result.points);
}

TEST_F(Best, NewResultsAreSortedInAndSaved)
{
    const struct {
        Entries earlier;
        Entry result;
        Entries saved;
        bool newRecord;
    } cases[] = {
        {{}, {"Aoi", 3}, {{"Aoi", 3}}, false},
        {{{"Aoi", 7}, {"Ken", 5}, {"Mio", 3}}, {"Sora", 8}, {{"Sora", 8}, {"Aoi", 7}, {"Ken", 5}, {"Mio", 3}}, true},
        // Sorted twice, equal points trade places twice: no message for a tie.
        {{{"Aoi", 5}}, {"Ken", 5}, {{"Aoi", 5}, {"Ken", 5}}, false},
        {{{"Aoi", 5}, {"Ken", 3}}, {"Mio", 5}, {{"Aoi", 5}, {"Mio", 5}, {"Ken", 3}}, false},
        {{{"Aoi", 9}, {"Ken", 5}}, {"Mio", 5}, {{"Aoi", 9}, {"Ken", 5}, {"Mio", 5}}, false},
        {{{"A", 12}, {"B", -40}}, {"C", 3}, {{"A", 12}, {"C", 3}, {"B", -40}}, false},
        {{{"A", -5}}, {"B", -4}, {{"B", -4}, {"A", -5}}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        ResetGame();
        SetTable(c.earlier);
        EXPECT_EQ(AddResultAndSave(c.result), c.newRecord);
        EXPECT_EQ(ReadBytes("Best.dat"), BestFile(static_cast<int32_t>(c.saved.size()), c.saved));
        EXPECT_EQ(Table(), c.saved);
    }
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesA("Best.dat");
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_HIDDEN));
#endif
}

TEST(SortBest, EqualPointsTradePlacesOnEachSort)
{
    std::vector<BestRecord> entries = {Record({"Aoi", 5}), Record({"Ken", 5})};
    SortBest(entries.data(), 2, 1);
    EXPECT_STREQ(entries[0].name.data(), "Ken");
    SortBest(entries.data(), 2, 1);
    EXPECT_STREQ(entries[0].name.data(), "Aoi");
}

// Tables near the 32-bit limits, where the pivot could overflow, then random
// ones: each sorted both ways in an exactly sized heap table, so a scan past
// either end is caught, must come out ordered with the same entries.
TEST(SortBest, TablesComeOutOrderedWithTheSameEntries)
{
    std::vector<std::vector<int32_t>> tables = {
        {INT32_MAX, INT32_MAX}, {INT32_MAX, INT32_MAX - 1, INT32_MAX}, {INT32_MIN, INT32_MIN},
        {INT32_MIN, INT32_MIN + 1, 0, INT32_MIN}, {INT32_MIN, INT32_MAX, 0, -1, INT32_MAX, INT32_MIN},
    };
    std::mt19937 random(7);
    const std::vector<int32_t> extremes = {INT32_MIN, INT32_MIN + 1, -1, 0, 1, INT32_MAX - 1, INT32_MAX};
    for (int trial = 0; trial < 300; ++trial) {
        for (int32_t& p : tables.emplace_back(random() % 257))
            p = trial % 3 == 0   ? static_cast<int32_t>(random() % 7) - 3  // many ties
                : trial % 3 == 1 ? static_cast<int32_t>(random())
                                 : extremes[random() % extremes.size()];
    }
    auto key = [](const BestRecord& r) { return std::pair{r.points, std::string(r.name.data())}; };
    for (std::size_t t = 0; t < tables.size(); ++t) {
        for (int descending : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "table " << t << (descending ? " descending" : " ascending"));
            std::vector<BestRecord> entries;
            for (std::size_t k = 0; k < tables[t].size(); ++k)
                entries.push_back(Record({std::to_string(k), tables[t][k]}));
            std::vector<std::pair<int32_t, std::string>> before, after;
            std::transform(entries.begin(), entries.end(), std::back_inserter(before), key);
            SortBest(entries.data(), static_cast<int32_t>(entries.size()), descending);
            std::transform(entries.begin(), entries.end(), std::back_inserter(after), key);
            EXPECT_TRUE(std::is_sorted(after.begin(), after.end(), [descending](const auto& a, const auto& b) {
                return descending ? a.first > b.first : a.first < b.first;
            }));
            std::sort(before.begin(), before.end());
            std::sort(after.begin(), after.end());
            EXPECT_EQ(after, before);
        }
    }
}

// A name without a terminator reads as the most of its first 49 bytes that
// ends on a character boundary, so the ranking line ends where it should.
TEST_F(Best, LoadKeepsFileOrderAndMissingFileEmpties)
{
    const std::string n49(49, 'N');
    std::string kana;
    for (int i = 0; i < 25; ++i)
        kana += "あ";
    WriteBytes("Best.dat", BestFile(4, {{"Mio", 3}, {n49 + "N", 5}, {"Aoi", 7}, {kana, 1}}));
    ASSERT_EQ(LoadBest(), ReadResult::Read);
    EXPECT_EQ(Table(), (Entries{{"Mio", 3}, {n49, 5}, {"Aoi", 7}, {kana.substr(0, 48), 1}}));
    EXPECT_EQ(FormatRankingLine(2, game.bestTable[1]), "第2位 " + n49 + "さん：5ﾎﾟｲﾝﾄ");

    std::filesystem::remove("Best.dat");
    EXPECT_EQ(LoadBest(), ReadResult::Missing);
    EXPECT_EQ(game.bestCount, 0);
    EXPECT_STREQ(game.bestTable[0].name.data(), "Mio");  // the table itself stays
}

TEST_F(Best, HostileFilesStayWithinTheTable)
{
    Entries two = {{"A", 2}, {"B", 1}};
    Bytes truncated = BestFile(3, {{"A", 3}, {"B", 2}, {"C", 1}});
    truncated.resize(truncated.size() - 10);
    Entries many;  // lowest first: the highest are the last in the file
    for (int k = 0; k < 300; ++k)
        many.push_back({"P" + std::to_string(k), k + 1});

    const struct {
        const char* what;
        Bytes file;
        int32_t count;  // -1: whatever the noise says, within the table
        bool recordFile;  // as the game writes one
    } cases[] = {
        // A negative count is no count: the whole entries present count.
        {"negative", BestFile(-1, two), 2, false},
        {"most negative", BestFile(INT32_MIN, two), 2, false},
        {"largest", BestFile(INT32_MAX, two), 2, false},
        {"last entry cut short", truncated, 2, false},
        {"short count", Bytes{1, 0, 0}, 0, false},
        {"count 0", BestFile(0, {}), 0, true},
        {"count 0 before entries", BestFile(0, two), 0, false},
        {"noise", Noise(10 * 1024 * 1024, 99), -1, false},
        {"more than the table holds", BestFile(300, many), 255, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetGame();
        game.historyBrowseMax = 77;  // the neighbouring fields stay untouched
        game.rankDialog = &game;
        EXPECT_EQ(IsBestFile(c.file), c.recordFile);
        WriteBytes("Best.dat", c.file);
        EXPECT_EQ(LoadBest(), ReadResult::Read);
        EXPECT_EQ(game.bestCount, c.count < 0 ? game.bestCount : c.count);
        EXPECT_TRUE(game.bestCount >= 0 && game.bestCount <= 255) << game.bestCount;
        for (const BestRecord& entry : game.bestTable)
            EXPECT_LT(TextOf(entry.name).size(), 50u);
        EXPECT_EQ(game.historyBrowseMax, 77);
        EXPECT_EQ(game.rankDialog, &game);
    }
    // The 255 highest of the 300, highest first.
    EXPECT_EQ(game.bestTable[0].points, 300);
    EXPECT_EQ(game.bestTable[254].points, 46);
}

TEST_F(Best, FullTableDropsTheLowestEntry)
{
    Entries full;
    for (int k = 0; k < 255; ++k)
        full.push_back({"P" + std::to_string(k), 255 - k});
    SetTable(full);

    EXPECT_FALSE(AddResultAndSave({"Low", 0}));  // below the lowest: dropped
    EXPECT_EQ(Table(), full);

    EXPECT_TRUE(AddResultAndSave({"Top", 1000}));
    Entries expected = full;
    expected.pop_back();
    expected.insert(expected.begin(), Entry{"Top", 1000});
    EXPECT_EQ(Table(), expected);
    EXPECT_EQ(ReadBytes("Best.dat"), BestFile(255, expected));
}

TEST(BestTexts, RankingLineAndNewRecordMessage)
{
    EXPECT_EQ(FormatRankingLine(1, Record({"たろう", 1148})), "第1位 たろうさん：1148ﾎﾟｲﾝﾄ");
    EXPECT_EQ(FormatRankingLine(5, Record({"Ken", -40})), "第5位 Kenさん：-40ﾎﾟｲﾝﾄ");
    EXPECT_EQ(FormatNewRecordMessage(8), "新記録8ﾎﾟｲﾝﾄが出たよ");
}

} // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
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

struct Entry {
    std::string name;
    int32_t points;
    bool operator==(const Entry&) const = default;
};
using Entries = std::vector<Entry>;

std::ostream& operator<<(std::ostream& out, const Entry& entry)
{
    return out << entry.name << ' ' << entry.points;
}

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

Bytes BestFile(int32_t count, const Entries& entries)
{
    Bytes bytes;
    AppendLe32(bytes, count);
    for (const Entry& entry : entries) {
        AppendField(bytes, entry.name, 50);
        AppendLe32(bytes, entry.points);
    }
    return bytes;
}

// What the goal does with a new result: add it, sort, save.
bool AddResultAndSave(const Entry& result)
{
    AddBestResult(result.name, result.points);
    game.score = result.points;
    return SaveBest();
}

TEST_F(Best, NewResultsAreSortedInAndSaved)
{
    struct Case {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        ResetGame();
        SetTable(c.earlier);
        EXPECT_EQ(AddResultAndSave(c.result), c.newRecord);
        Bytes file = BestFile(static_cast<int32_t>(c.saved.size()), c.saved);
        EXPECT_EQ(ReadBytes("Best.dat"), file);
        EXPECT_EQ(Table(), c.saved);
    }
}

TEST(SortBest, EqualPointsTradePlacesOnEachSort)
{
    std::vector<BestRecord> entries = {Record({"Aoi", 5}), Record({"Ken", 5})};
    SortBest(entries.data(), 2, 1);
    EXPECT_STREQ(entries[0].name.data(), "Ken");
    SortBest(entries.data(), 2, 1);
    EXPECT_STREQ(entries[0].name.data(), "Aoi");
}

// Exactly sized heap tables, so a scan past either end is caught.
void ExpectSorts(const std::vector<int32_t>& points, int descending)
{
    std::vector<BestRecord> entries;
    for (std::size_t k = 0; k < points.size(); ++k)
        entries.push_back(Record({std::to_string(k), points[k]}));
    auto before = entries;
    SortBest(entries.data(), static_cast<int32_t>(entries.size()), descending);

    auto byPoints = [descending](const BestRecord& a, const BestRecord& b) {
        return descending ? a.points > b.points : a.points < b.points;
    };
    EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(), byPoints));
    auto key = [](const BestRecord& r) { return std::pair{r.points, std::string(r.name.data())}; };
    auto byKey = [&](const BestRecord& a, const BestRecord& b) { return key(a) < key(b); };
    std::sort(before.begin(), before.end(), byKey);
    std::sort(entries.begin(), entries.end(), byKey);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), entries.begin(), entries.end(),
                           [&](const BestRecord& a, const BestRecord& b) { return key(a) == key(b); }));
}

TEST(SortBest, ExtremePointsDoNotOverflowThePivot)
{
    std::vector<std::vector<int32_t>> tables = {
        {INT32_MAX, INT32_MAX},
        {INT32_MAX, INT32_MAX - 1, INT32_MAX},
        {INT32_MIN, INT32_MIN},
        {INT32_MIN, INT32_MIN + 1, 0, INT32_MIN},
        {INT32_MIN, INT32_MAX, 0, -1, INT32_MAX, INT32_MIN},
    };
    for (const auto& table : tables) {
        ExpectSorts(table, 1);
        ExpectSorts(table, 0);
    }
}

TEST(SortBest, RandomTablesComeOutOrderedWithTheSameEntries)
{
    std::mt19937 random(7);
    const std::vector<int32_t> extremes = {INT32_MIN, INT32_MIN + 1, -1, 0, 1, INT32_MAX - 1, INT32_MAX};
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<int32_t> points(random() % 257);
        for (int32_t& p : points) {
            switch (trial % 3) {
            case 0: p = static_cast<int32_t>(random() % 7) - 3; break;  // many ties
            case 1: p = static_cast<int32_t>(random()); break;
            default: p = extremes[random() % extremes.size()]; break;
            }
        }
        SCOPED_TRACE(trial);
        ExpectSorts(points, trial % 2);
    }
}

TEST_F(Best, LoadKeepsFileOrderAndMissingFileEmpties)
{
    WriteBytes("Best.dat", BestFile(2, {{"Mio", 3}, {"Aoi", 7}}));
    ASSERT_TRUE(LoadBest());
    EXPECT_EQ(Table(), (Entries{{"Mio", 3}, {"Aoi", 7}}));

    std::filesystem::remove("Best.dat");
    EXPECT_FALSE(LoadBest());
    EXPECT_EQ(game.bestCount, 0);
    EXPECT_STREQ(game.bestTable[0].name.data(), "Mio");  // the table itself stays
}

TEST_F(Best, HostileFilesStayWithinTheTable)
{
    Entries two = {{"A", 2}, {"B", 1}};
    Bytes truncated = BestFile(3, {{"A", 3}, {"B", 2}, {"C", 1}});
    truncated.resize(truncated.size() - 10);
    Entries many;
    for (int k = 0; k < 300; ++k)
        many.push_back({"P" + std::to_string(k), 300 - k});

    struct Case {
        const char* what;
        Bytes file;
        int32_t count;  // -1: whatever the noise says, within the table
    } cases[] = {
        {"negative", BestFile(-1, two), 0},
        {"most negative", BestFile(INT32_MIN, two), 0},
        {"largest", BestFile(INT32_MAX, two), 2},
        {"last entry cut short", truncated, 2},
        {"short count", Bytes{1, 0, 0}, 0},
        {"count 0", BestFile(0, {}), 0},
        {"more than the table holds", BestFile(300, many), 255},
        {"noise", Noise(10 * 1024 * 1024, 99), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetGame();
        game.historyBrowseMax = 77;  // the neighbouring fields stay untouched
        game.rankDialog = &game;
        WriteBytes("Best.dat", c.file);
        EXPECT_TRUE(LoadBest());
        if (c.count >= 0) {
            EXPECT_EQ(game.bestCount, c.count);
        }
        EXPECT_GE(game.bestCount, 0);
        EXPECT_LE(game.bestCount, 255);
        for (const BestRecord& entry : game.bestTable)
            EXPECT_LT(TextOf(entry.name).size(), 50u);
        EXPECT_EQ(game.historyBrowseMax, 77);
        EXPECT_EQ(game.rankDialog, &game);
    }
}

TEST_F(Best, UnterminatedNameReadsAs49Bytes)
{
    Bytes file = BestFile(1, {});
    file.insert(file.end(), 50, 'N');
    AppendLe32(file, 5);
    WriteBytes("Best.dat", file);
    ASSERT_TRUE(LoadBest());
    EXPECT_EQ(Table(), (Entries{{std::string(49, 'N'), 5}}));
    EXPECT_EQ(FormatRankingLine(1, game.bestTable[0]), "第1位 " + std::string(49, 'N') + "さん：5ﾎﾟｲﾝﾄ");
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
    std::string message = FormatNewRecordMessage(8);
    EXPECT_EQ(message, "新記録8ﾎﾟｲﾝﾄが出たよ");
    // Half-width katakana, one byte each in code page 932.
    EXPECT_NE(message.find("\xCE\xDF\xB2\xDD\xC4"), std::string::npos);
}

#ifdef _WIN32
TEST_F(Best, BestFileIsNotHidden)
{
    AddResultAndSave({"Aoi", 3});
    DWORD attributes = GetFileAttributesA("Best.dat");
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_HIDDEN);
}
#endif

} // namespace

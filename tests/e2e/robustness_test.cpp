// The game against damaged record files, and over a long session.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <random>

#include "tests/e2e/driver.h"

namespace {

Bytes Repeated(unsigned char byte, std::size_t count)
{
    return Bytes(count, byte);
}

Bytes Noise(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (unsigned char& byte : bytes)
        byte = static_cast<unsigned char>(random());
    return bytes;
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        Append(all, part);
    return all;
}

struct HostileFiles {
    const char* what;
    std::optional<Bytes> rank;
    std::optional<Bytes> best;
};

std::vector<HostileFiles> HostileCases()
{
    std::vector<std::string> manyTexts(300, "Aoi\n1 文字\n");
    std::vector<std::pair<std::string, int32_t>> manyEntries;
    for (int i = 0; i < 300; ++i)
        manyEntries.emplace_back("Aoi", 1000 - i);
    return {
        {"empty files", Bytes{}, Bytes{}},
        {"negative counts", Concat({Int32Le(-5), Repeated(0, 80 * 3)}),
         Concat({Int32Le(-7), Repeated(0, 54 * 2)})},
        {"huge counts", Concat({Int32Le(INT32_MAX), Repeated(0, 80 * 2)}),
         Concat({Int32Le(INT32_MAX), BestFile({{"Aoi", 5}})})},
        {"more than the tables hold", RankFile(manyTexts), BestFile(manyEntries)},
        {"truncated", Concat({Int32Le(3), Repeated(0, 80), Repeated('A', 40)}),
         Concat({Int32Le(4), FixedText("Aoi", 50), Int32Le(5), FixedText("Ken", 50), Int32Le(3),
                 Repeated('B', 20)})},
        {"no terminators", Concat({Int32Le(2), Repeated(0, 80), Repeated(0x82, 160)}),
         Concat({Int32Le(2), Repeated(0x82, 50), Int32Le(7), Repeated('B', 50), Int32Le(9)})},
        {"counts cut short", Bytes{0x01, 0x00}, Bytes{0x02}},
        {"noise", Noise(10000, 1), Noise(10000, 2)},
    };
}

// Whatever the files held, the game starts, shows its ranking, records a
// stage and leaves two well-formed files holding that result.
TEST(Robustness, HostileRecordFilesNeitherCrashNorBlockTheGame)
{
    for (const HostileFiles& files : HostileCases()) {
        SCOPED_TRACE(files.what);
        GameFolder folder;
        if (files.rank)
            folder.Write("Rank.dat", *files.rank);
        if (files.best)
            folder.Write("Best.dat", *files.best);
        GameProcess game(folder);
        HWND main = EnterGame(game, "Sora");
        ASSERT_NE(main, nullptr);

        PressKey(VK_F4);
        HWND ranking = game.WaitForWindow(kDialogClass, kRankTitle);
        ASSERT_NE(ranking, nullptr) << "no ranking";
        std::string shot = std::string("ranking-") + files.what;
        std::replace(shot.begin(), shot.end(), ' ', '-');
        SaveScreenshot(ranking, shot);
        Click(ranking, 1011);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(ranking); }));

        TypeInOneBurst(game, main, Joined(kStage1));
        HWND goal = WaitForGoal(game, "Sora");
        ASSERT_NE(goal, nullptr) << "no goal dialog";
        const GoalFigures figures = ExpectedFigures(170, 170, 0);
        ExpectFigures(goal, figures);
        if (!TabMovesFocus(goal)) {
            HWND message = NewRecordMessage(game);
            ASSERT_NE(message, nullptr) << "the goal dialog does not take the keyboard";
            Click(message, IDOK);
            ASSERT_TRUE(TabMovesFocus(goal));
        }

        const Bytes rank = folder.Read("Rank.dat");
        const int32_t results = ReadInt32Le(rank, 0);
        EXPECT_GE(results, 1);
        EXPECT_LE(results, 254);
        if (results >= 1 && results <= 254) {
            EXPECT_EQ(rank.size(), 4u + 80 * static_cast<std::size_t>(results + 1));
            ExpectRecord(rank, 4 + 80 * static_cast<std::size_t>(results), 80,
                         figures.HistoryText("Sora"));
        }
        const Bytes best = folder.Read("Best.dat");
        const int32_t entries = ReadInt32Le(best, 0);
        EXPECT_GE(entries, 1);
        EXPECT_LE(entries, 255);
        bool found = false;
        if (entries >= 1 && entries <= 255) {
            EXPECT_EQ(best.size(), 4u + 54 * static_cast<std::size_t>(entries));
            for (int k = 0; k < entries && 4u + 54 * (k + 1) <= best.size(); ++k) {
                const auto at = best.begin() + 4 + 54 * k;
                found = found || (std::memcmp(&*at, "Sora", 5) == 0 &&
                                  ReadInt32Le(best, 4 + 54 * k + 50) == kPerfectBurstPoints);
                if (k > 0) {
                    EXPECT_LE(ReadInt32Le(best, 4 + 54 * k + 50), ReadInt32Le(best, 4 + 54 * k - 4))
                        << "entry " << k << " is out of order";
                }
            }
        }
        EXPECT_TRUE(found) << "the new result is not in Best.dat";

        Click(goal, 1038);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(goal); }));
        ASSERT_TRUE(BringToFront(main));
        PressKey(VK_F8);
        HWND confirm = game.WaitForWindow(kDialogClass, kCloseCaption);
        ASSERT_NE(confirm, nullptr) << "F8 did not ask to quit; " << DescribeWindows(game);
        Click(confirm, IDYES);
        DWORD code = 99;
        ASSERT_TRUE(game.WaitForExit(code));
        EXPECT_EQ(code, 0u);
    }
}

// Ten thousand keys leave the game's handles and memory where they were after
// the first thousand. One in five is right and starts a sound thread; those
// threads live as long as the sound system takes to start a sound (about
// 25 ms each here, one after the other), so each batch waits for them to end.
TEST(Robustness, TenThousandKeysLeaveHandlesAndMemoryFlat)
{
    GameFolder folder;
    GameProcess game(folder);
    HWND main = EnterGame(game, "Aoi");
    ASSERT_NE(main, nullptr);
    const unsigned long idleThreads = game.ReadCounters().threads;

    // One round: the first phrase, 60 wrong keys, and back to the start of
    // stage 1 (which restores the phrase). Eight rounds make a batch.
    const std::string round = std::string(kStage1[0]) + std::string(60, 'x');
    constexpr int kRoundsPerBatch = 8;
    int keys = 0;
    auto typeBatch = [&] {
        for (int i = 0; i < kRoundsPerBatch; ++i) {
            PostText(main, round);
            PostMessageA(main, WM_COMMAND, 40008, 0);  // the back command (F6)
            keys += static_cast<int>(round.size());
        }
        // The information dialog opens only after every key before it.
        PostMessageA(main, WM_COMMAND, 40004, 0);
        HWND info = game.WaitForWindow(kDialogClass, kInfoTitle, 60000);
        if (info == nullptr)
            return false;
        Click(info, 1000);
        return WaitUntil([&] { return !IsWindow(info); }) &&
               WaitUntil([&] { return game.ReadCounters().threads <= idleThreads + 1; }, 60000);
    };

    while (keys < 1000)
        ASSERT_TRUE(typeBatch()) << "the batch after " << keys << " keys was not handled";
    const GameProcess::Counters before = game.ReadCounters();
    while (keys < 10000)
        ASSERT_TRUE(typeBatch()) << "the batch after " << keys << " keys was not handled";
    const GameProcess::Counters after = game.ReadCounters();

    std::printf("%d keys: handles %lu -> %lu, private %zu KB -> %zu KB, threads %lu -> %lu\n",
                keys, before.handles, after.handles, before.privateBytes / 1024,
                after.privateBytes / 1024, before.threads, after.threads);
    EXPECT_GT(before.handles, 0u);
    EXPECT_LE(after.handles, before.handles + 10) << "handles leak";
    EXPECT_LE(after.privateBytes, before.privateBytes + 4 * 1024 * 1024) << "memory leaks";
    EXPECT_TRUE(game.Running());
}

}  // namespace

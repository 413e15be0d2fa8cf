// The game against damaged record files, and over a long session.
#include <algorithm>
#include <cstdio>
#include <random>

#include "tests/e2e/game_test.h"

namespace {

Bytes Noise(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (unsigned char& byte : bytes)
        byte = static_cast<unsigned char>(random());
    return bytes;
}

struct HostileFiles {
    const char* what;
    Bytes rank, best;
};

std::vector<HostileFiles> HostileCases()
{
    std::vector<std::string> manyTexts(300, "Aoi\n1 文字\n");
    std::vector<std::pair<std::string, int32_t>> manyEntries;
    for (int i = 0; i < 300; ++i)
        manyEntries.emplace_back("Aoi", 1000 - i);
    return {
        {"empty files", {}, {}},
        {"negative counts", Concat({Int32Le(-5), Bytes(80 * 3, 0)}),
         Concat({Int32Le(-7), Bytes(54 * 2, 0)})},
        {"huge counts", Concat({Int32Le(INT32_MAX), Bytes(80 * 2, 0)}),
         Concat({Int32Le(INT32_MAX), BestFile({{"Aoi", 5}})})},
        {"more than the tables hold", RankFile(manyTexts), BestFile(manyEntries)},
        {"truncated", Concat({Int32Le(3), Bytes(80, 0), Bytes(40, 'A')}),
         Concat({Int32Le(4), FixedText("Aoi", 50), Int32Le(5), FixedText("Ken", 50), Int32Le(3),
                 Bytes(20, 'B')})},
        {"no terminators", Concat({Int32Le(2), Bytes(80, 0), Bytes(160, 0x82)}),
         Concat({Int32Le(2), Bytes(50, 0x82), Int32Le(7), Bytes(50, 'B'), Int32Le(9)})},
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
        folder.Write("Rank.dat", files.rank);
        folder.Write("Best.dat", files.best);
        GameProcess game(folder);
        HWND main = EnterGame(game, "Sora");
        ASSERT_NE(main, nullptr);

        HWND ranking = OpenWithKey(game, main, VK_F4, kRankTitle);
        ASSERT_NE(ranking, nullptr) << "no ranking";
        std::string shot = std::string("ranking-") + files.what;
        std::replace(shot.begin(), shot.end(), ' ', '-');
        SaveScreenshot(ranking, shot);
        ASSERT_TRUE(Dismiss(ranking, IDC_RANK_CLOSE));

        game.PostInOneBurst(main, Joined(kStage1));
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
        ASSERT_TRUE(results >= 1 && results <= 254) << results << " results";
        EXPECT_EQ(rank.size(), 4u + 80 * static_cast<std::size_t>(results + 1));
        EXPECT_EQ(RecordAt(rank, 4 + 80 * static_cast<std::size_t>(results), 80),
                  figures.HistoryText("Sora"));
        const Bytes best = folder.Read("Best.dat");
        const int32_t entries = ReadInt32Le(best, 0);
        ASSERT_TRUE(entries >= 1 && entries <= 255) << entries << " entries";
        ASSERT_EQ(best.size(), 4u + 54 * static_cast<std::size_t>(entries));
        bool found = false;
        for (std::size_t at = 4; at < best.size(); at += 54) {
            found = found || (RecordAt(best, at, 50) == "Sora" &&
                              ReadInt32Le(best, at + 50) == kPerfectBurstPoints);
            if (at > 4) {
                EXPECT_LE(ReadInt32Le(best, at + 50), ReadInt32Le(best, at - 4)) << "out of order";
            }
        }
        EXPECT_TRUE(found) << "the new result is not in Best.dat";

        ASSERT_TRUE(Dismiss(goal, IDC_GOAL_REST));
        HWND confirm = OpenWithKey(game, main, VK_F8, kCloseCaption);
        ASSERT_NE(confirm, nullptr) << "F8 did not ask to quit; " << DescribeWindows(game);
        EXPECT_TRUE(YesEndsWithZero(game, confirm));
    }
}

// Another program holds both record files open, without sharing, while a
// stage ends: the goal leaves them as they were and says so in one warning
// owned by the goal dialog.
TEST(Robustness, FilesHeldOpenAtTheGoalAreKeptAndThePlayerIsTold)
{
    GameFolder folder;
    const Bytes rank = RankFile({"Aoi\n"}), best = BestFile({{"Aoi", 5}});
    folder.Write("Rank.dat", rank);
    folder.Write("Best.dat", best);
    GameProcess game(folder);
    HWND main = EnterGame(game, "Sora");
    ASSERT_NE(main, nullptr);
    std::vector<HANDLE> held;
    for (const char* file : {"Rank.dat", "Best.dat"})
        held.push_back(CreateFileA(folder.PathOf(file).c_str(), GENERIC_READ, 0, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(held[0], INVALID_HANDLE_VALUE);
    ASSERT_NE(held[1], INVALID_HANDLE_VALUE);

    game.PostInOneBurst(main, Joined(kStage1));
    HWND goal = WaitForGoal(game, "Sora");
    HWND warning = game.WaitForWindow(kDialogClass, "ｾｰﾌﾞｴﾗｰ");
    for (HANDLE handle : held)
        CloseHandle(handle);
    ASSERT_NE(goal, nullptr);
    ASSERT_NE(warning, nullptr) << "no warning; " << DescribeWindows(game);
    SaveScreenshot(warning, "records-not-kept");
    EXPECT_EQ(GetWindow(warning, GW_OWNER), goal);
    EXPECT_TRUE(ShowsIcon(warning));
    EXPECT_EQ(MessageBoxText(warning), "今回の記録を Rank.dat と Best.dat に残せなかったよぉ…\n"
                                       "ほかのソフトが開いたままにしているみたい。閉じてから、また遊んでね。");
    ASSERT_TRUE(Dismiss(warning, IDOK));
    EXPECT_EQ(folder.Read("Rank.dat"), rank);
    EXPECT_EQ(folder.Read("Best.dat"), best);
    EXPECT_TRUE(TabMovesFocus(goal)) << "a second message box is up";
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
    int keys = 0;
    auto typeBatch = [&] {
        for (int i = 0; i < 8; ++i) {
            PostText(main, round);
            PostMessageA(main, WM_COMMAND, IDM_PREV_STAGE, 0);  // F6
            keys += static_cast<int>(round.size());
        }
        // The information dialog opens only after every key before it.
        PostMessageA(main, WM_COMMAND, IDM_INFO, 0);
        HWND info = game.WaitForWindow(kDialogClass, kInfoTitle, 60000);
        return info != nullptr && Dismiss(info, IDC_INFO_CLOSE) &&
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

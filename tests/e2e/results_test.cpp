// Playing stages to their end: the goal dialog, Rank.dat and Best.dat, the
// new-record message, and where each of the dialog's buttons leads.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/e2e/driver.h"

namespace {

struct Goal {
    GoalFigures figures;
    int32_t points;
};

TEST(Results, StagesAreShownRecordedAndLeadOnward)
{
    const std::string name = "たろう";
    GameFolder folder;
    GameProcess game(folder);
    HWND main = EnterGame(game, name.c_str());
    ASSERT_NE(main, nullptr);
    std::vector<Goal> goals;

    // A capital O is right: the first key starts the clock, and the title
    // shows the milliseconds since then as plain digits.
    PostText(main, "O");
    const uint64_t typedAt = GetTickCount64();
    ASSERT_TRUE(WaitUntil([&] { return IsDigits(WindowText(main)); }))
        << "the title is \"" << WindowText(main) << "\"";
    ASSERT_TRUE(WaitUntil([&] { return TitleMs(main) >= 600; }));
    const uint32_t shown = TitleMs(main);
    const uint64_t real = GetTickCount64() - typedAt;
    EXPECT_LE(shown, real + 50);
    EXPECT_GE(shown + 1000, real);

    PostText(main, "hay");
    SaveScreenshot(main, "ohay-typed");
    PostText(main, "ougozaimasu");
    SaveScreenshot(main, "first-phrase-typed");

    // The rest of stage 1 with seven wrong keys, a clock tick between phrases
    // and more than a second in all. Space, Enter, Backspace, Tab and Esc
    // count as wrong keys; at "?" only "?" is right.
    const std::array<std::string, 10> rest = {
        "xkonnnichiha", "konnbannha", " \r\b\t\x1bhisashiburidesune", "chiyoppichiyoppi",
        "kiaihaitteiru/?", "saikinnchoushihadou?", "iichoushidayo", "sorenishitemoiitennkidane",
        "gennkigennki?", "gannbatteirukai?"};
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (i + 1 == rest.size()) {
            ASSERT_TRUE(WaitUntil([&] { return TitleMs(main) >= 1100; }));
        }
        const std::string title = WindowText(main);
        PostText(main, rest[i]);
        if (i + 1 < rest.size()) {
            ASSERT_TRUE(WaitUntil([&] { return WindowText(main) != title; }));
        }
    }
    HWND goal = WaitForGoal(game, name);
    ASSERT_NE(goal, nullptr) << "no goal dialog titled " << GoalTitle(name);
    SaveScreenshot(goal, "stage-1-goal");
    EXPECT_EQ(OwnerOf(goal), main);
    uint32_t elapsed = TitleMs(main);
    goals.push_back({ExpectedFigures(177, 170, elapsed), ExpectedPoints(177, 170, elapsed)});
    ExpectFigures(goal, goals.back().figures);

    // Esc is ignored, and no new-record message came: the keys reach the dialog.
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(TabMovesFocus(goal)) << "Esc closed the dialog or a message box is up";

    Bytes rank = folder.Read("Rank.dat");
    ASSERT_EQ(rank.size(), 164u);
    EXPECT_NE(folder.Attributes("Rank.dat") & FILE_ATTRIBUTE_HIDDEN, 0u) << "Rank.dat is not hidden";
    EXPECT_EQ(ReadInt32Le(rank, 0), 1);
    EXPECT_EQ(Bytes(rank.begin() + 4, rank.begin() + 84), Bytes(80, 0));
    ExpectRecord(rank, 84, 80, goals[0].figures.HistoryText(name));
    Bytes best = folder.Read("Best.dat");
    ASSERT_EQ(best.size(), 58u);
    EXPECT_EQ(folder.Attributes("Best.dat") & FILE_ATTRIBUTE_HIDDEN, 0u) << "Best.dat is hidden";
    EXPECT_EQ(ReadInt32Le(best, 0), 1);
    ExpectRecord(best, 4, 50, name);
    EXPECT_EQ(ReadInt32Le(best, 54), goals[0].points);

    // 次のステージへ(&N): stage 2 from its first phrase, typed in a new run.
    Click(goal, 1037);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(goal); }));
    SaveScreenshot(main, "stage-2");
    std::string title = WindowText(main);
    PostText(main, kStage2[0]);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(main) != title; })) << "no new run in stage 2";
    PostText(main, Joined(kStage2).substr(std::string_view(kStage2[0]).size()));
    goal = WaitForGoal(game, name);
    ASSERT_NE(goal, nullptr) << "stage 2 did not end in the goal dialog";
    elapsed = TitleMs(main);
    goals.push_back({ExpectedFigures(175, 175, elapsed), ExpectedPoints(175, 175, elapsed)});

    // A result above every earlier one is announced, once; any other is not.
    auto checkNewRecord = [&](HWND dialog) {
        int32_t earlierBest = INT32_MIN;
        for (std::size_t i = 0; i + 1 < goals.size(); ++i)
            earlierBest = std::max(earlierBest, goals[i].points);
        const int32_t points = goals.back().points;
        if (points > earlierBest) {
            HWND message = nullptr;
            ASSERT_TRUE(WaitUntil([&] { return (message = NewRecordMessage(game)) != nullptr; }))
                << points << " points beat " << earlierBest << " but nothing was said";
            EXPECT_EQ(MessageBoxText(message), "新記録" + std::to_string(points) + "ﾎﾟｲﾝﾄが出たよ");
            Click(message, IDOK);
            ASSERT_TRUE(WaitUntil([&] { return !IsWindow(message); }));
        }
        EXPECT_TRUE(TabMovesFocus(dialog)) << "a message box is up";
        EXPECT_EQ(NewRecordMessage(game), nullptr);
    };
    checkNewRecord(goal);
    ExpectFigures(goal, goals.back().figures);

    // The back button restores stage 1 and goes there: all of it can be typed again.
    Click(goal, 1044);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(goal); }));
    TypeInOneBurst(game, main, Joined(kStage1));
    goal = WaitForGoal(game, name);
    ASSERT_NE(goal, nullptr) << "stage 1 was not restored by the back button";
    goals.push_back({ExpectedFigures(170, 170, 0), ExpectedPoints(170, 170, 0)});
    EXPECT_EQ(goals.back().points, kPerfectBurstPoints);
    checkNewRecord(goal);
    ExpectFigures(goal, goals.back().figures);

    // とりあえず休憩 (&X) keeps the end of the stage: the next key, a second
    // later, opens the dialog again for a run that counted nothing and took
    // no time.
    Click(goal, 1038);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(goal); }));
    Sleep(1000);
    PostText(main, "a");
    goal = WaitForGoal(game, name);
    ASSERT_NE(goal, nullptr) << "a key after the rest did not reopen the goal dialog";
    SaveScreenshot(goal, "after-rest");
    goals.push_back({ExpectedFigures(0, 0, 0), ExpectedPoints(0, 0, 0)});
    checkNewRecord(goal);
    ExpectFigures(goal, goals.back().figures);
    Click(goal, 1038);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(goal); }));

    // Four results on disk, oldest first; the best table sorted by points.
    rank = folder.Read("Rank.dat");
    ASSERT_EQ(rank.size(), 4u + 80 * 5);
    EXPECT_EQ(ReadInt32Le(rank, 0), 4);
    EXPECT_EQ(Bytes(rank.begin() + 4, rank.begin() + 84), Bytes(80, 0));
    for (std::size_t k = 0; k < goals.size(); ++k)
        ExpectRecord(rank, 4 + 80 * (k + 1), 80, goals[k].figures.HistoryText(name));
    best = folder.Read("Best.dat");
    ASSERT_EQ(best.size(), 4u + 54 * 4);
    EXPECT_EQ(ReadInt32Le(best, 0), 4);
    std::vector<int32_t> points;
    for (const Goal& g : goals)
        points.push_back(g.points);
    std::sort(points.begin(), points.end(), std::greater<>());
    for (std::size_t k = 0; k < points.size(); ++k) {
        ExpectRecord(best, 4 + 54 * k, 50, name);
        EXPECT_EQ(ReadInt32Le(best, 4 + 54 * k + 50), points[k]) << "entry " << k;
    }
}

TEST(Results, NewBestIsAnnouncedOnceAfterItIsSavedAndATieIsNot)
{
    GameFolder folder;
    folder.Write("Best.dat", BestFile({{"Aoi", kPerfectBurstPoints - 1}}));
    GameProcess game(folder);
    HWND main = EnterGame(game, "Ken");
    ASSERT_NE(main, nullptr);

    TypeInOneBurst(game, main, Joined(kStage1));
    HWND message = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (message = NewRecordMessage(game)) != nullptr; }))
        << "a new best was not announced";
    SaveScreenshot(message, "new-record");
    EXPECT_EQ(MessageBoxText(message), "新記録1200ﾎﾟｲﾝﾄが出たよ");
    EXPECT_EQ(WindowText(message), "");
    EXPECT_EQ(OwnerOf(message), nullptr);
    // By now Best.dat holds the new result.
    EXPECT_EQ(folder.Read("Best.dat"), BestFile({{"Ken", 1200}, {"Aoi", 1199}}));
    Click(message, IDOK);
    HWND goal = WaitForGoal(game, "Ken");
    ASSERT_NE(goal, nullptr);
    EXPECT_TRUE(TabMovesFocus(goal)) << "a second message box is up";

    // The same points again are no new record.
    Click(goal, 1037);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(goal); }));
    TypeInOneBurst(game, main, Joined(kStage2));
    goal = WaitForGoal(game, "Ken");
    ASSERT_NE(goal, nullptr);
    ExpectFigures(goal, ExpectedFigures(175, 175, 0));
    EXPECT_TRUE(TabMovesFocus(goal)) << "a tie was announced as a new record";
    EXPECT_EQ(NewRecordMessage(game), nullptr);
    const Bytes best = folder.Read("Best.dat");
    ASSERT_EQ(best.size(), 4u + 54 * 3);
    EXPECT_EQ(ReadInt32Le(best, 4 + 50), 1200);
    EXPECT_EQ(ReadInt32Le(best, 4 + 54 + 50), 1200);
    ExpectRecord(best, 4 + 54 * 2, 50, "Aoi");
}

TEST(Results, EqualPointsKeepTheEarlierEntryFirst)
{
    GameFolder folder;
    folder.Write("Best.dat", BestFile({{"Aoi", kPerfectBurstPoints}}));
    GameProcess game(folder);
    HWND main = EnterGame(game, "Ken");
    ASSERT_NE(main, nullptr);

    TypeInOneBurst(game, main, Joined(kStage1));
    HWND goal = WaitForGoal(game, "Ken");
    ASSERT_NE(goal, nullptr);
    EXPECT_TRUE(TabMovesFocus(goal)) << "a tie was announced as a new record";
    EXPECT_EQ(folder.Read("Best.dat"), BestFile({{"Aoi", 1200}, {"Ken", 1200}}));
}

TEST(Results, LongNamesAreCutOnCharacterBoundaries)
{
    std::string name;
    for (int i = 0; i < 60; ++i)
        name += "あ";  // 120 bytes, every character two
    auto cut = [&](std::size_t bytes) { return name.substr(0, bytes); };
    GameFolder folder;
    GameProcess game(folder);
    HWND main = EnterGame(game, name.c_str());
    ASSERT_NE(main, nullptr);

    TypeInOneBurst(game, main, Joined(kStage1));
    // The name keeps 98 of its 99 bytes: the 99th would split a character.
    HWND goal = WaitForGoal(game, cut(98));
    ASSERT_NE(goal, nullptr) << "no goal dialog for the name cut to 98 bytes";
    EXPECT_TRUE(TabMovesFocus(goal));

    // The history text keeps its five figures whole within 79 bytes: 62
    // bytes of figures leave 16 bytes of the name. Best.dat keeps 48 bytes.
    const GoalFigures figures = ExpectedFigures(170, 170, 0);
    ASSERT_EQ(figures.HistoryText("").size(), 62u);
    const Bytes rank = folder.Read("Rank.dat");
    ASSERT_EQ(rank.size(), 164u);
    ExpectRecord(rank, 84, 80, figures.HistoryText(cut(16)));
    const Bytes best = folder.Read("Best.dat");
    ASSERT_EQ(best.size(), 58u);
    ExpectRecord(best, 4, 50, cut(48));
    EXPECT_EQ(ReadInt32Le(best, 54), kPerfectBurstPoints);
}

// From stage 9 the next-stage button asks whether to quit, while the goal
// dialog is still open.
HWND PlayLastStage(const GameProcess& game, HWND main)
{
    for (int stage = 1; stage < 9; ++stage)
        PressKey(VK_F5);
    if (!InfoDialogRoundTrip(game, main)) {  // every F5 handled before the burst
        ADD_FAILURE() << "F1 after F5 did not open the information";
        return nullptr;
    }
    TypeInOneBurst(game, main, Joined(kStage9));
    HWND goal = WaitForGoal(game, "Aoi");
    if (goal == nullptr) {
        ADD_FAILURE() << "stage 9 did not end in the goal dialog";
        return nullptr;
    }
    ExpectFigures(goal, ExpectedFigures(216, 216, 0));
    Click(goal, 1037);
    return goal;
}

TEST(Results, AfterTheLastStageNoKeepsTheGameAtItsFinalSlot)
{
    GameFolder folder;
    GameProcess game(folder);
    HWND main = EnterGame(game, "Aoi");
    ASSERT_NE(main, nullptr);
    HWND goal = PlayLastStage(game, main);
    ASSERT_NE(goal, nullptr);

    HWND confirm = game.WaitForWindow(kDialogClass, kCloseCaption);
    ASSERT_NE(confirm, nullptr) << "the next-stage button after stage 9 did not ask to quit";
    EXPECT_EQ(MessageBoxText(confirm), kCloseText);
    EXPECT_TRUE(IsWindowVisible(goal)) << "the goal dialog closed before the question";
    SaveScreenshot(confirm, "quit-question");
    Click(confirm, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(goal); })) << "the goal dialog stayed after No";
    SaveScreenshot(main, "final-slot");

    // At the final slot a key starts the clock but is never right, and no
    // goal dialog comes.
    PostText(main, "s");
    EXPECT_TRUE(WaitUntil([&] { return IsDigits(WindowText(main)); }));
    ASSERT_TRUE(InfoDialogRoundTrip(game, main));
    EXPECT_EQ(game.TopWindow(kDialogClass, GoalTitle("Aoi").c_str()), nullptr);

    // F5 there asks again; Yes ends the game with 0.
    PressKey(VK_F5);
    confirm = game.WaitForWindow(kDialogClass, kCloseCaption);
    ASSERT_NE(confirm, nullptr) << "F5 at the final slot did not ask to quit";
    Click(confirm, IDYES);
    DWORD code = 99;
    ASSERT_TRUE(game.WaitForExit(code));
    EXPECT_EQ(code, 0u);
}

TEST(Results, AfterTheLastStageYesEndsTheGameWithZero)
{
    GameFolder folder;
    GameProcess game(folder);
    HWND main = EnterGame(game, "Aoi");
    ASSERT_NE(main, nullptr);
    ASSERT_NE(PlayLastStage(game, main), nullptr);

    HWND confirm = game.WaitForWindow(kDialogClass, kCloseCaption);
    ASSERT_NE(confirm, nullptr);
    Click(confirm, IDYES);
    DWORD code = 99;
    ASSERT_TRUE(game.WaitForExit(code)) << "Yes did not end the game";
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(ReadInt32Le(folder.Read("Rank.dat"), 0), 1) << "the last stage's result was lost";
}

}  // namespace

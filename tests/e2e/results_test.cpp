// Playing stages to their end: the goal dialog, Rank.dat and Best.dat, the
// new-record message, and where each of the dialog's buttons leads.
#include <algorithm>
#include <functional>

#include "tests/e2e/game_test.h"

namespace {

inline constexpr Stage kStage2 = {
    "gannbaruzo", "kiaida", "bennkyougannbatte", "sonoatoha", "oishiibannmeshiga", "matteiruyo",
    "harahachibunnmenishite", "yukkurikyuukeishiyou", "ko-hi-katateni",
    "shinnbunndemoyominagara", "tanoshiihitotokidemosugosou"};
inline constexpr Stage kStage9 = {
    "saishuuraunndodayo", "kokomadekitara", "kuriasurushikanaine", "saikoupoinntowodasou",
    "yarebadekiru", "kiminokotodayo", "saago-rugamietekimashita", "rasutosupa-to!",
    "mousukoshidekannryoudayo", "yokukokomadegannbattane", "matanochousennwoomachishiteorimasu"};

uint32_t TitleMs(HWND main)  // the title's milliseconds, 0 when it shows none
{
    const std::string title = WindowText(main);
    return IsDigits(title) ? static_cast<uint32_t>(std::stoul(title)) : 0;
}

class Results : public GameTest {
protected:
    // Stage 9 played and its next-stage button pressed: the game asks whether
    // to quit while the goal dialog is still open.
    HWND QuitQuestionAfterTheLastStage(HWND& goal)
    {
        for (int stage = 1; stage < 9; ++stage)
            PressKey(VK_F5);
        EXPECT_TRUE(InfoDialogRoundTrip(game, main)) << "F1 after the eight F5 did not come back";
        game.PostInOneBurst(main, Joined(kStage9));
        if ((goal = WaitForGoal(game, "Aoi")) == nullptr) {
            ADD_FAILURE() << "stage 9 did not end in the goal dialog";
            return nullptr;
        }
        ExpectFigures(goal, ExpectedFigures(216, 216, 0));
        Click(goal, IDC_GOAL_NEXT);
        HWND confirm = game.WaitForWindow(kDialogClass, kCloseCaption);
        if (confirm == nullptr) {
            ADD_FAILURE() << "the next-stage button after stage 9 did not ask to quit";
            return nullptr;
        }
        EXPECT_EQ(MessageBoxText(confirm), kCloseText);
        EXPECT_TRUE(IsWindowVisible(goal)) << "the goal dialog closed before the question";
        return confirm;
    }
};

// Rank.dat holds an empty record 0 and then every result's history text,
// oldest first; Best.dat every result's points, highest first.
void ExpectRecordFiles(const GameFolder& folder, const std::vector<GoalFigures>& goals,
                       const std::string& name)
{
    const Bytes rank = folder.Read("Rank.dat");
    ASSERT_EQ(rank.size(), 4 + 80 * (goals.size() + 1));
    EXPECT_EQ(ReadInt32Le(rank, 0), static_cast<int32_t>(goals.size()));
    EXPECT_EQ(Bytes(rank.begin() + 4, rank.begin() + 84), Bytes(80, 0));
    std::vector<int32_t> points;
    for (std::size_t k = 0; k < goals.size(); ++k) {
        EXPECT_EQ(RecordAt(rank, 84 + 80 * k, 80), goals[k].HistoryText(name));
        points.push_back(goals[k].points);
    }
    std::sort(points.begin(), points.end(), std::greater<>());
    const Bytes best = folder.Read("Best.dat");
    ASSERT_EQ(best.size(), 4 + 54 * goals.size());
    EXPECT_EQ(ReadInt32Le(best, 0), static_cast<int32_t>(goals.size()));
    for (std::size_t k = 0; k < points.size(); ++k) {
        EXPECT_EQ(RecordAt(best, 4 + 54 * k, 50), name);
        EXPECT_EQ(ReadInt32Le(best, 54 + 54 * k), points[k]) << "entry " << k;
    }
}

TEST_F(Results, StagesAreShownRecordedAndLeadOnward)
{
    const std::string name = "たろう";
    ASSERT_TRUE(Start(name.c_str()));
    std::vector<GoalFigures> goals;
    HWND goal = nullptr;
    // The goal dialog with the figures of the run just ended (timed by the
    // title, or a burst that took no time), and the new-record message once
    // if its points beat every earlier result.
    auto reachGoal = [&](int keys, int hits, bool timed) {
        goal = WaitForGoal(game, name);
        ASSERT_NE(goal, nullptr) << "no goal dialog titled " << GoalTitle(name);
        const GoalFigures figures = ExpectedFigures(keys, hits, timed ? TitleMs(main) : 0);
        bool beatsAll = !goals.empty();
        for (const GoalFigures& earlier : goals)
            beatsAll = beatsAll && figures.points > earlier.points;
        goals.push_back(figures);
        if (beatsAll) {
            HWND message = nullptr;
            ASSERT_TRUE(WaitUntil([&] { return (message = NewRecordMessage(game)) != nullptr; }))
                << figures.points << " points beat every earlier result but nothing was said";
            EXPECT_EQ(MessageBoxText(message),
                      "新記録" + std::to_string(figures.points) + "ﾎﾟｲﾝﾄが出たよ");
            ASSERT_TRUE(Dismiss(message, IDOK));
        }
        EXPECT_TRUE(TabMovesFocus(goal)) << "a message box is up";
        EXPECT_EQ(NewRecordMessage(game), nullptr);
        ExpectFigures(goal, figures);
    };

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
    for (std::size_t i = 0; i + 1 < rest.size(); ++i) {
        const std::string title = WindowText(main);
        PostText(main, rest[i]);
        ASSERT_TRUE(WaitUntil([&] { return WindowText(main) != title; }));
    }
    ASSERT_TRUE(WaitUntil([&] { return TitleMs(main) >= 1100; }));
    PostText(main, rest.back());
    ASSERT_NO_FATAL_FAILURE(reachGoal(177, 170, true));
    SaveScreenshot(goal, "stage-1-goal");
    EXPECT_EQ(GetWindow(goal, GW_OWNER), main);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(TabMovesFocus(goal)) << "Esc closed the dialog";
    EXPECT_NE(GetFileAttributesA(folder.PathOf("Rank.dat").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u)
        << "Rank.dat is not hidden";
    EXPECT_EQ(GetFileAttributesA(folder.PathOf("Best.dat").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u)
        << "Best.dat is hidden";
    ASSERT_NO_FATAL_FAILURE(ExpectRecordFiles(folder, goals, name));

    // 次のステージへ(&N): stage 2 from its first phrase, typed in a new run.
    ASSERT_TRUE(Dismiss(goal, IDC_GOAL_NEXT));
    SaveScreenshot(main, "stage-2");
    const std::string title = WindowText(main);
    PostText(main, kStage2[0]);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(main) != title; })) << "no new run in stage 2";
    PostText(main, Joined(kStage2).substr(std::string_view(kStage2[0]).size()));
    ASSERT_NO_FATAL_FAILURE(reachGoal(175, 175, true));

    // The back button restores stage 1 and goes there: all of it can be typed again.
    ASSERT_TRUE(Dismiss(goal, IDC_GOAL_PREV));
    game.PostInOneBurst(main, Joined(kStage1));
    ASSERT_NO_FATAL_FAILURE(reachGoal(170, 170, false));
    EXPECT_EQ(goals.back().points, kPerfectBurstPoints);

    // とりあえず休憩 (&X) keeps the end of the stage: each later key opens the
    // dialog again with the stage's result as recorded, and stores nothing.
    for (const char* key : {"a", "b"}) {
        ASSERT_TRUE(Dismiss(goal, IDC_GOAL_REST));
        PostText(main, key);
        goal = WaitForGoal(game, name);
        ASSERT_NE(goal, nullptr) << "no goal dialog after resting and typing " << key;
        EXPECT_TRUE(TabMovesFocus(goal)) << "a message box came with it";
        ExpectFigures(goal, goals.back());
    }
    SaveScreenshot(goal, "after-rest");
    ASSERT_TRUE(Dismiss(goal, IDC_GOAL_REST));
    ExpectRecordFiles(folder, goals, name);
}

TEST_F(Results, NewBestIsAnnouncedOnceAfterItIsSavedAndATieIsNot)
{
    folder.Write("Best.dat", BestFile({{"Aoi", kPerfectBurstPoints - 1}}));
    ASSERT_TRUE(Start("Ken"));
    game.PostInOneBurst(main, Joined(kStage1));
    HWND message = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (message = NewRecordMessage(game)) != nullptr; }))
        << "a new best was not announced";
    SaveScreenshot(message, "new-record");
    EXPECT_EQ(MessageBoxText(message), "新記録1200ﾎﾟｲﾝﾄが出たよ");
    EXPECT_EQ(GetWindow(message, GW_OWNER), nullptr);
    // By now Best.dat holds the new result.
    EXPECT_EQ(folder.Read("Best.dat"), BestFile({{"Ken", 1200}, {"Aoi", 1199}}));
    Click(message, IDOK);
    HWND goal = WaitForGoal(game, "Ken");
    ASSERT_NE(goal, nullptr);
    EXPECT_TRUE(TabMovesFocus(goal)) << "a second message box is up";

    // The same points again are no new record.
    ASSERT_TRUE(Dismiss(goal, IDC_GOAL_NEXT));
    game.PostInOneBurst(main, Joined(kStage2));
    goal = WaitForGoal(game, "Ken");
    ASSERT_NE(goal, nullptr);
    ExpectFigures(goal, ExpectedFigures(175, 175, 0));
    EXPECT_TRUE(TabMovesFocus(goal)) << "a tie was announced as a new record";
    EXPECT_EQ(NewRecordMessage(game), nullptr);
    EXPECT_EQ(folder.Read("Best.dat"), BestFile({{"Ken", 1200}, {"Ken", 1200}, {"Aoi", 1199}}));
}

TEST_F(Results, LongNameIsCutOnCharacterBoundariesAndATieRanksAfterTheEarlierEntry)
{
    std::string name;
    for (int i = 0; i < 60; ++i)
        name += "あ";  // 120 bytes, every character two
    auto cut = [&](std::size_t bytes) { return name.substr(0, bytes); };
    folder.Write("Best.dat", BestFile({{"Aoi", kPerfectBurstPoints}}));
    ASSERT_TRUE(Start(name.c_str()));
    game.PostInOneBurst(main, Joined(kStage1));
    // The name keeps 98 of its 99 bytes: the 99th would split a character.
    HWND goal = WaitForGoal(game, cut(98));
    ASSERT_NE(goal, nullptr) << "no goal dialog for the name cut to 98 bytes";
    EXPECT_TRUE(TabMovesFocus(goal)) << "a tie was announced as a new record";

    // The history text keeps its five figures whole within 79 bytes: 62
    // bytes of figures leave 16 bytes of the name. Best.dat keeps 48 bytes.
    const GoalFigures figures = ExpectedFigures(170, 170, 0);
    ASSERT_EQ(figures.HistoryText("").size(), 62u);
    const Bytes rank = folder.Read("Rank.dat");
    ASSERT_EQ(rank.size(), 164u);
    EXPECT_EQ(RecordAt(rank, 84, 80), figures.HistoryText(cut(16)));
    const Bytes best = folder.Read("Best.dat");
    ASSERT_EQ(best.size(), 4u + 54 * 2);
    EXPECT_EQ(RecordAt(best, 4, 50), "Aoi");
    EXPECT_EQ(RecordAt(best, 58, 50), cut(48));
    EXPECT_EQ(ReadInt32Le(best, 54), kPerfectBurstPoints);
    EXPECT_EQ(ReadInt32Le(best, 108), kPerfectBurstPoints);
}

TEST_F(Results, AfterTheLastStageNoKeepsTheGameAtItsFinalSlot)
{
    ASSERT_TRUE(Start());
    HWND goal = nullptr;
    HWND confirm = QuitQuestionAfterTheLastStage(goal);
    ASSERT_NE(confirm, nullptr);
    SaveScreenshot(confirm, "quit-question");
    Click(confirm, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(goal); })) << "the goal dialog stayed after No";
    SaveScreenshot(main, "final-slot");

    // At the final slot a key starts the clock but is never right, and no
    // goal dialog comes; F5 there asks again, and Yes ends the game with 0.
    PostText(main, "s");
    EXPECT_TRUE(WaitUntil([&] { return IsDigits(WindowText(main)); }));
    ASSERT_TRUE(InfoDialogRoundTrip(game, main));
    EXPECT_EQ(game.TopWindow(kDialogClass, GoalTitle("Aoi").c_str()), nullptr);
    PressKey(VK_F5);
    EXPECT_TRUE(YesEndsWithZero(game, game.WaitForWindow(kDialogClass, kCloseCaption)))
        << "F5 at the final slot did not ask to quit, or Yes did not end the game";
}

TEST_F(Results, AfterTheLastStageYesEndsTheGameWithZero)
{
    ASSERT_TRUE(Start());
    HWND goal = nullptr;
    EXPECT_TRUE(YesEndsWithZero(game, QuitQuestionAfterTheLastStage(goal)))
        << "Yes did not end the game";
    EXPECT_EQ(ReadInt32Le(folder.Read("Rank.dat"), 0), 1) << "the last stage's result was lost";
}

}  // namespace

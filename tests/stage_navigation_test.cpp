#include <gtest/gtest.h>

#include <string>

#include "course/keystroke.h"
#include "course/phrase_table.h"
#include "course/stage_navigation.h"
#include "tests/fake_platform.h"

namespace {

struct NavigationRow {
    int from;
    int to;
    int restoredStage;  // 0: nothing restored
    int closeRequests;
};

class StageNavigationTest : public ::testing::Test {
protected:
    void SetUp() override { Prepare(0); }

    // A run in progress at `from`, with every phrase one character in, so
    // that a restore shows.
    void Prepare(int from)
    {
        ResetGame();
        TakePhraseBackup();
        for (auto& slot : phraseTable)
            if (slot.romaji && *slot.romaji)
                ++slot.romaji;
        before = phraseTable;
        game.entryIndex = from;
        game.runActive = true;
        fake.timerRunning = true;
        game.phraseX = 400;
        game.missCount = 3;
        game.hitCount = 4;
        game.keyCount = 7;
        game.startTick = 10;
        game.lastTick = 20;
    }

    void ExpectMoved(const NavigationRow& row)
    {
        EXPECT_EQ(game.entryIndex, row.to);
        EXPECT_FALSE(game.runActive);
        EXPECT_FALSE(fake.timerRunning);
        EXPECT_EQ(game.phraseX, kPhraseStartX);
        // The cut-off run keeps its counters and its last title.
        EXPECT_EQ(game.missCount, 3);
        EXPECT_EQ(game.hitCount, 4);
        EXPECT_EQ(game.keyCount, 7);
        EXPECT_EQ(game.startTick, 10u);
        EXPECT_EQ(game.lastTick, 20u);
        EXPECT_EQ(fake.titleChanges, 0);
        EXPECT_EQ(fake.goalDialogs, 0);
        EXPECT_EQ(fake.repaints, 1);
        EXPECT_EQ(fake.closeRequests, row.closeRequests);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const bool restored = slot / kSlotsPerStage == row.restoredStage - 1;
            EXPECT_EQ(phraseTable[slot].romaji, restored ? kCourse[slot].romaji : before[slot].romaji)
                << "slot " << slot;
        }
    }

    PhraseTable before{};
};

TEST_F(StageNavigationTest, NextStageMovesForwardWithoutRestoring)
{
    const NavigationRow rows[] = {
        {0, 12, 0, 0},   {5, 12, 0, 0},   {11, 12, 0, 0},  {12, 24, 0, 0},  {23, 24, 0, 0},
        {35, 36, 0, 0},  {47, 48, 0, 0},  {59, 60, 0, 0},  {71, 72, 0, 0},  {83, 84, 0, 0},
        {95, 96, 0, 0},  {96, 108, 0, 1}, {107, 108, 0, 1}, {108, 108, 0, 1}, {109, 109, 0, 0},
    };
    for (const NavigationRow& row : rows) {
        SCOPED_TRACE(row.from);
        Prepare(row.from);
        NextStage();
        ExpectMoved(row);
    }
}

TEST_F(StageNavigationTest, RetryPreviousStageGoesBackAndRestoresThatStage)
{
    const NavigationRow rows[] = {
        {0, 0, 1, 0},    {11, 0, 1, 0},   {12, 0, 1, 0},   {23, 0, 1, 0},   {24, 12, 2, 0},
        {35, 12, 2, 0},  {36, 24, 3, 0},  {48, 36, 4, 0},  {60, 48, 5, 0},  {72, 60, 6, 0},
        {84, 72, 7, 0},  {96, 84, 8, 0},  {107, 84, 8, 0}, {108, 96, 9, 0}, {109, 109, 0, 0},
    };
    for (const NavigationRow& row : rows) {
        SCOPED_TRACE(row.from);
        Prepare(row.from);
        RetryPreviousStage();
        ExpectMoved(row);
    }
}

// Finishing stage 9 and choosing the next stage in its goal dialog asks
// whether to quit while the dialog is still open.
TEST_F(StageNavigationTest, QuitQuestionAfterTheLastStage)
{
    for (bool agree : {true, false}) {
        SCOPED_TRACE(agree);
        ResetGame();
        TakePhraseBackup();
        game.entryIndex = 106;
        phraseTable[106].romaji = "u";
        game.mainWindow = &game;  // any non-null handle
        fake.agreeToClose = agree;
        fake.onGoalDialog = [] { NextStage(); };
        int entryWhenAsked = -1, repaintsWhenAsked = -1, dialogsWhenAsked = -1;
        fake.onCloseRequest = [&] {
            entryWhenAsked = game.entryIndex;
            repaintsWhenAsked = fake.repaints;
            dialogsWhenAsked = fake.goalDialogs;
        };

        HandleCharacter('u');

        EXPECT_EQ(fake.closeRequests, 1);
        EXPECT_EQ(entryWhenAsked, kFinalSlot);
        EXPECT_EQ(dialogsWhenAsked, 1);
        EXPECT_EQ(game.entryIndex, kFinalSlot);
        // Once the program is shutting down nothing may be painted any more.
        EXPECT_EQ(fake.repaints, repaintsWhenAsked + (agree ? 0 : 1));
        EXPECT_EQ(game.mainWindow == nullptr, agree);
    }
}

TEST_F(StageNavigationTest, StageEnteredForwardKeepsItsTypedPhrases)
{
    ResetGame();
    TakePhraseBackup();
    NextStage();
    for (char key : std::string("gannbaruzo"))
        HandleCharacter(static_cast<unsigned char>(key));
    ASSERT_EQ(game.entryIndex, 13);

    RetryPreviousStage();  // back to stage 1; stage 2 stays typed
    NextStage();
    ASSERT_EQ(game.entryIndex, 12);
    EXPECT_STREQ(phraseTable[12].romaji, "");
    HandleCharacter('g');
    EXPECT_EQ(game.missCount, 1);
    EXPECT_EQ(game.entryIndex, 12);

    NextStage();
    RetryPreviousStage();  // from stage 3 back to stage 2, restored
    EXPECT_EQ(game.entryIndex, 12);
    EXPECT_STREQ(phraseTable[12].romaji, "gannbaruzo");
}

}  // namespace

#include <gtest/gtest.h>

#include "course/keystroke.h"
#include "course/phrase_table.h"
#include "course/stage_navigation.h"
#include "tests/fake_platform.h"

namespace {

// Both moves from a run in progress, with every phrase one character in so
// that a restore shows. The cut-off run keeps its counters and its last title.
TEST(StageNavigation, BothTablesRowByRow)
{
    const struct {
        void (*move)();
        int from, to;
        int restoredStage;  // 0: nothing restored
        int closeRequests;
    } rows[] = {
        {NextStage, 0, 12, 0, 0},    {NextStage, 5, 12, 0, 0},    {NextStage, 11, 12, 0, 0},
        {NextStage, 12, 24, 0, 0},   {NextStage, 23, 24, 0, 0},   {NextStage, 35, 36, 0, 0},
        {NextStage, 47, 48, 0, 0},   {NextStage, 59, 60, 0, 0},   {NextStage, 71, 72, 0, 0},
        {NextStage, 83, 84, 0, 0},   {NextStage, 95, 96, 0, 0},   {NextStage, 96, 108, 0, 1},
        {NextStage, 107, 108, 0, 1}, {NextStage, 108, 108, 0, 1}, {NextStage, 109, 109, 0, 0},
        {RetryPreviousStage, 0, 0, 1, 0},    {RetryPreviousStage, 11, 0, 1, 0},
        {RetryPreviousStage, 12, 0, 1, 0},   {RetryPreviousStage, 23, 0, 1, 0},
        {RetryPreviousStage, 24, 12, 2, 0},  {RetryPreviousStage, 35, 12, 2, 0},
        {RetryPreviousStage, 36, 24, 3, 0},  {RetryPreviousStage, 48, 36, 4, 0},
        {RetryPreviousStage, 60, 48, 5, 0},  {RetryPreviousStage, 72, 60, 6, 0},
        {RetryPreviousStage, 84, 72, 7, 0},  {RetryPreviousStage, 96, 84, 8, 0},
        {RetryPreviousStage, 107, 84, 8, 0}, {RetryPreviousStage, 108, 96, 9, 0},
        {RetryPreviousStage, 109, 109, 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << (row.move == NextStage ? "next from " : "back from ") << row.from);
        ResetGame();
        TakePhraseBackup();
        for (auto& slot : phraseTable)
            if (slot.romaji && *slot.romaji)
                ++slot.romaji;
        const PhraseTable before = phraseTable;
        game.entryIndex = row.from;
        game.runActive = fake.timerRunning = true;
        game.phraseX = 400;
        game.missCount = 3, game.hitCount = 4, game.keyCount = 7;
        game.startTick = 10, game.lastTick = 20;

        row.move();

        EXPECT_EQ(game.entryIndex, row.to);
        EXPECT_FALSE(game.runActive || fake.timerRunning);
        EXPECT_EQ(game.phraseX, kPhraseStartX);
        EXPECT_EQ(Counters(), (std::array{4, 3, 7}));
        EXPECT_EQ(game.startTick, 10u);
        EXPECT_EQ(game.lastTick, 20u);
        EXPECT_EQ(fake.titleChanges + fake.goalDialogs, 0);
        EXPECT_EQ(fake.repaints, 1);
        EXPECT_EQ(fake.closeRequests, row.closeRequests);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const bool restored = slot / kSlotsPerStage == row.restoredStage - 1;
            EXPECT_EQ(phraseTable[slot].romaji, restored ? kCourse[slot].romaji : before[slot].romaji)
                << "slot " << slot;
        }
    }
}

// Finishing stage 9 and choosing the next stage in its goal dialog asks
// whether to quit while the dialog is still open.
TEST(StageNavigation, QuitQuestionAfterTheLastStage)
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

        PressKey('u');

        EXPECT_EQ(fake.closeRequests, 1);
        EXPECT_EQ(entryWhenAsked, kFinalSlot);
        EXPECT_EQ(dialogsWhenAsked, 1);
        EXPECT_EQ(game.entryIndex, kFinalSlot);
        // Once the program is shutting down nothing may be painted any more.
        EXPECT_EQ(fake.repaints, repaintsWhenAsked + (agree ? 0 : 1));
        EXPECT_EQ(game.mainWindow == nullptr, agree);
    }
}

}  // namespace

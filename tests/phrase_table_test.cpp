#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "course/phrase_table.h"
#include "tests/fake_platform.h"

namespace {

bool IsEndOfStageSlot(int slot)
{
    return slot < kFinalSlot && slot % kSlotsPerStage == kSlotsPerStage - 1;
}

TEST(PhraseTable, SlotKindsAreWhereTheStagesNeedThem)
{
    ASSERT_EQ(kCourse.size(), 109u);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        SCOPED_TRACE(slot);
        ASSERT_NE(kCourse[slot].caption, nullptr);
        if (IsEndOfStageSlot(slot))
            EXPECT_EQ(kCourse[slot].romaji, nullptr);
        else if (slot == kFinalSlot)
            EXPECT_STREQ(kCourse[slot].romaji, "");  // present but empty
        else
            EXPECT_GT(std::strlen(kCourse[slot].romaji), 0u);
    }
}

TEST(PhraseTable, StagesHoldTheirCharacterCounts)
{
    constexpr int kStageChars[kStageCount] = {170, 175, 236, 227, 282, 279, 180, 164, 216};
    int total = 0;
    size_t longest = 0, shortest = 1000;
    int longestSlot = -1;
    for (int stage = 1; stage <= kStageCount; ++stage) {
        int chars = 0;
        for (int slot = FirstSlotOfStage(stage); slot < FirstSlotOfStage(stage) + 11; ++slot) {
            const size_t length = std::strlen(kCourse[slot].romaji);
            chars += static_cast<int>(length);
            if (length > longest) {
                longest = length;
                longestSlot = slot;
            }
            shortest = std::min(shortest, length);
        }
        EXPECT_EQ(chars, kStageChars[stage - 1]) << "stage " << stage;
        total += chars;
    }
    EXPECT_EQ(total, 1929);
    EXPECT_EQ(longest, 41u);
    EXPECT_EQ(longestSlot, 55);
    EXPECT_EQ(shortest, 6u);
    EXPECT_STREQ(kCourse[13].romaji, "kiaida");
    EXPECT_STREQ(kCourse[74].romaji, "memori");
}

TEST(PhraseTable, RomajiHoldsOnlyTypableCharacters)
{
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (!kCourse[slot].romaji)
            continue;
        for (const char* c = kCourse[slot].romaji; *c; ++c) {
            const bool letter = *c >= 'a' && *c <= 'z' && !std::strchr("qvx", *c);
            EXPECT_TRUE(letter || std::strchr("?!-", *c)) << "slot " << slot << ": '" << *c << "'";
        }
    }
}

TEST(PhraseTable, CaptionsAreShiftJis)
{
    const char* const kEndCaptions[kStageCount] = {
        "第一ステージ終了！", "第二ステージ終了！", "第三ステージ終了！",
        "第四ステージ終了！", "第五ステージ終了！", "第六ステージ終了！",
        "第七ステージ終了！", "第八ステージ終了！", "お疲れ様でした"};
    for (int stage = 1; stage <= kStageCount; ++stage)
        EXPECT_STREQ(kCourse[FirstSlotOfStage(stage) + 11].caption, kEndCaptions[stage - 1]);
    EXPECT_STREQ(kCourse[kFinalSlot].caption, "お疲れ様でした");

    // Explicit bytes, so a slip of the source or compiler encoding shows.
    EXPECT_STREQ(kCourse[0].caption, "\x82\xa8\x82\xcd\x82\xe6\x82\xa4\x82\xb2\x82\xb4\x82\xa2\x82\xdc\x82\xb7");
    EXPECT_STREQ(kCourse[11].caption, "\x91\xe6\x88\xea\x83\x58\x83\x65\x81\x5b\x83\x57\x8f\x49\x97\xb9\x81\x49");
    EXPECT_STREQ(kCourse[76].caption, "CDROMドライブ");
}

class PhraseBackupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGame();
        TakePhraseBackup();
    }
};

TEST_F(PhraseBackupTest, RestoringBringsBackAHalfTypedPhrase)
{
    phraseTable[0].romaji += 4;  // "ohay" typed
    EXPECT_STREQ(phraseTable[0].romaji, "ougozaimasu");
    RestoreStage(1);
    EXPECT_STREQ(phraseTable[0].romaji, "ohayougozaimasu");
    EXPECT_EQ(phraseTable[0].caption, kCourse[0].caption);
}

TEST_F(PhraseBackupTest, RestoringOneStageLeavesEveryOtherSlot)
{
    for (int stage = 1; stage <= kStageCount; ++stage) {
        SCOPED_TRACE(stage);
        ResetGame();
        TakePhraseBackup();
        for (auto& slot : phraseTable)
            if (slot.romaji && *slot.romaji)
                ++slot.romaji;
        const PhraseTable typed = phraseTable;

        RestoreStage(stage);

        for (int slot = 0; slot < kSlotCount; ++slot) {
            const bool inStage = slot / kSlotsPerStage == stage - 1;
            const PhraseEntry& expected = inStage ? kCourse[slot] : typed[slot];
            EXPECT_EQ(phraseTable[slot].romaji, expected.romaji) << "slot " << slot;
            EXPECT_EQ(phraseTable[slot].caption, expected.caption) << "slot " << slot;
        }
    }
}

}  // namespace

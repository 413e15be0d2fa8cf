#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "course/phrase_table.h"

namespace {

TEST(PhraseTable, SlotKindsCharacterCountsAndLetters)
{
    ASSERT_EQ(kCourse.size(), 109u);
    std::array<int, kStageCount> stageChars{};
    size_t longest = 0, shortest = 1000;
    int longestSlot = -1;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        SCOPED_TRACE(slot);
        const char* romaji = kCourse[slot].romaji;
        ASSERT_NE(kCourse[slot].caption, nullptr);
        if (slot % kSlotsPerStage == kSlotsPerStage - 1) {  // end of a stage
            EXPECT_EQ(romaji, nullptr);
            continue;
        }
        ASSERT_NE(romaji, nullptr);
        if (slot == kFinalSlot) {
            EXPECT_STREQ(romaji, "");  // present but empty
            continue;
        }
        const size_t length = std::strlen(romaji);
        stageChars[slot / kSlotsPerStage] += static_cast<int>(length);
        if (length > longest)
            longest = length, longestSlot = slot;
        shortest = std::min(shortest, length);
        for (const char* c = romaji; *c; ++c) {
            const bool letter = *c >= 'a' && *c <= 'z' && !std::strchr("qvx", *c);
            EXPECT_TRUE(letter || std::strchr("?!-", *c)) << "'" << *c << "'";
        }
    }
    // 1929 in all.
    EXPECT_EQ(stageChars, (std::array<int, kStageCount>{170, 175, 236, 227, 282, 279, 180, 164, 216}));
    EXPECT_EQ(longest, 41u);
    EXPECT_EQ(longestSlot, 55);
    EXPECT_EQ(shortest, 6u);
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
    EXPECT_STREQ(kCourse[76].caption, "CDROMドライブ");
    // Explicit bytes, so a slip of the source or compiler encoding shows.
    EXPECT_STREQ(kCourse[0].caption, "\x82\xa8\x82\xcd\x82\xe6\x82\xa4\x82\xb2\x82\xb4\x82\xa2\x82\xdc\x82\xb7");
    EXPECT_STREQ(kCourse[11].caption, "\x91\xe6\x88\xea\x83\x58\x83\x65\x81\x5b\x83\x57\x8f\x49\x97\xb9\x81\x49");
}

}  // namespace

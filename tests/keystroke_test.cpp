#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "course/hit_sound.h"
#include "course/keystroke.h"
#include "course/phrase_table.h"
#include "course/stage_navigation.h"
#include "tests/fake_platform.h"

namespace {

// A fresh game at `slot` with `typed` characters of its romaji done.
void StartAt(int slot, size_t typed)
{
    ResetGame();
    TakePhraseBackup();
    game.entryIndex = slot;
    phraseTable[slot].romaji = kCourse[slot].romaji + typed;
}

TEST(Keystroke, TypingTheWholeCourseEndsEveryStageWithItsCounts)
{
    constexpr int kStageChars[kStageCount] = {170, 175, 236, 227, 282, 279, 180, 164, 216};
    StartAt(0, 0);
    int stage = 1;
    fake.onGoalDialog = [&] {
        SCOPED_TRACE(stage);
        EXPECT_EQ(game.entryIndex, FirstSlotOfStage(stage) + 11);
        EXPECT_FALSE(game.runActive || fake.timerRunning);
        EXPECT_EQ(Counters(), (std::array{kStageChars[stage - 1], 11, kStageChars[stage - 1] + 11}));
        ++stage;
        NextStage();
    };
    for (int slot = 0; slot < kFinalSlot; ++slot) {
        if (!kCourse[slot].romaji)
            continue;  // the goal dialog has moved on
        ASSERT_EQ(game.entryIndex, slot);
        PressKey('#');  // one wrong key per phrase
        for (const char* c = kCourse[slot].romaji; *c; ++c) {
            PressKey(static_cast<unsigned char>(*c));
            ASSERT_EQ(game.keyCount, game.hitCount + game.missCount) << "slot " << slot;
        }
    }
    EXPECT_EQ(fake.goalDialogs, 9);
    EXPECT_EQ(fake.timerStarts, 9);
    EXPECT_EQ(fake.hitSounds, 1929);
    // Each sound thread's handle is let go when the next hit replaces it.
    EXPECT_EQ(fake.releasedThreads, 1928);
    EXPECT_EQ(game.soundThread, reinterpret_cast<NativeHandle>(uintptr_t{1929}));
    EXPECT_EQ(fake.closeRequests, 1);  // moving on from stage 9; declined
    EXPECT_EQ(game.entryIndex, kFinalSlot);
}

TEST(Keystroke, JudgesEachKeyAgainstTheNextCharacter)
{
    const struct {
        int slot;
        size_t typed;      // characters of the slot's romaji already done
        unsigned int key;  // the character message's code
        bool hit;
    } cases[] = {
        {0, 0, 'o', true},     {0, 0, 'O', true},      {0, 0, 'p', false},
        {0, 2, 'A', true},     {0, 8, 'Z', true},      // the ends of the folded range
        {0, 0, 0x16F, true},   // only the low byte counts
        {3, 2, 'S', true},     {0, 0, 0x82, false},    // lead byte of a double-byte character
        {0, 0, ' ', false},    {0, 0, '\r', false},    {0, 0, '\b', false},
        {0, 0, '\t', false},   {0, 0, 0x1B, false},    {0, 0, 0, false},
        // The marks match only themselves, not their neighbours in case folding.
        {39, 1, '?', true},    {39, 1, '/', false},    {39, 1, 0x1F, false},  {39, 1, '!', false},
        {31, 11, '!', true},   {31, 11, '1', false},   {31, 11, 0x01, false},  // '!' ends the phrase
        {20, 2, '-', true},    {20, 2, '_', false},    {20, 2, '\r', false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "slot " << c.slot << " key 0x" << std::hex << c.key);
        StartAt(c.slot, c.typed);
        game.phraseX = 400;
        // What an earlier run left behind; the key starts a new one.
        game.missCount = game.hitCount = game.keyCount = game.score = 7;
        game.accuracyPercent = 3.5;
        game.lastTick = 123;
        fake.tick = 5000;
        PressKey(c.key);
        EXPECT_EQ(fake.timerStarts, 1);
        EXPECT_EQ(game.startTick, 5000u);
        EXPECT_EQ(game.lastTick, 123u);
        EXPECT_EQ(game.score, 0);
        EXPECT_EQ(game.accuracyPercent, 0.0);
        EXPECT_EQ(std::string(game.typedText.data(), 2), (std::string{static_cast<char>(c.key), '\0'}));
        EXPECT_EQ(phraseTable[c.slot].romaji, kCourse[c.slot].romaji + c.typed + c.hit);
        EXPECT_EQ(Counters(), (std::array{int(c.hit), int(!c.hit), 1}));
        EXPECT_EQ(fake.hitSounds, int(c.hit));
        EXPECT_EQ(fake.repaints > 0, c.hit);
        EXPECT_TRUE(game.runActive && fake.timerRunning);
        const bool finished = c.hit && kCourse[c.slot].romaji[c.typed + 1] == '\0';
        EXPECT_EQ(game.entryIndex, c.slot + finished);
        EXPECT_EQ(game.phraseX, finished ? kPhraseStartX : 400);
    }
}

// After the goal dialog was closed with a rest, the next key starts and ends
// a run of its own that counts nothing and opens the dialog again.
TEST(Keystroke, KeyAtAnEndOfStageSlotReopensTheGoalDialogUncounted)
{
    StartAt(11, 0);
    game.keyCount = game.hitCount = 40;
    game.lastTick = 900;
    fake.tick = 1000;
    fake.onGoalDialog = [] {
        EXPECT_EQ(Counters(), (std::array{0, 0, 0}));
        EXPECT_EQ(game.startTick, 1000u);
        EXPECT_EQ(game.lastTick, 900u);
    };
    PressKey('a');
    EXPECT_FALSE(game.runActive);
    EXPECT_EQ(game.entryIndex, 11);
    // Goal dialogs, timer starts and stops, hit sounds, repaints.
    EXPECT_EQ((std::array{fake.goalDialogs, fake.timerStarts, fake.timerStops, fake.hitSounds, fake.repaints}),
              (std::array{1, 1, 1, 1, 1}));
}

// Slot 108 and a phrase typed to its end and entered again without a restore
// take no key at all, not even a zero byte that equals their terminator.
TEST(Keystroke, EmptyRomajiTakesNoKey)
{
    for (int slot : {kFinalSlot, 12}) {
        SCOPED_TRACE(slot);
        StartAt(slot, std::strlen(kCourse[slot].romaji));
        const char* const end = phraseTable[slot].romaji;
        for (unsigned int key : {'a', '\0', '\r', 'k'})
            PressKey(key);
        EXPECT_EQ(phraseTable[slot].romaji, end);
        EXPECT_EQ(game.entryIndex, slot);
        EXPECT_EQ(Counters(), (std::array{0, 4, 4}));
        EXPECT_EQ(fake.hitSounds + fake.repaints + fake.goalDialogs, 0);
        EXPECT_TRUE(fake.timerRunning);
    }
}

TEST(Keystroke, TitleShowsMillisecondsAcrossTheTickWrap)
{
    const struct {
        uint32_t start, now;
        const char* title;
    } cases[] = {
        {1000, 1750, "750"}, {0xFFFFFF00u, 0x000000F0u, "496"}, {0xFFFFFFFFu, 0xFFFFFFFFu, "0"}, {1, 0, "4294967295"},
    };
    for (const auto& c : cases) {
        StartAt(0, 0);
        fake.tick = c.start;
        PressKey('o');
        fake.tick = c.now;
        PressKey('h');  // a later key of the same run keeps its start
        HandleTimerTick();
        EXPECT_EQ(game.lastTick, c.now);
        EXPECT_EQ(fake.title, c.title);
    }
}

TEST(HitSound, ChoiceSetsTheFileNameAndIgnoresOtherValues)
{
    ResetGame();
    ChooseDefaultHitSound();
    EXPECT_EQ(game.soundChoice, 1);
    EXPECT_STREQ(game.soundFile.data(), "bane.wav");
    const char* const kFiles[] = {"bane.wav", "raser.wav", "rock.wav", "glass.wav", "gun.wav", "punch.wav"};
    int kept = 1;
    for (int choice : {1, 2, 3, 4, 5, 6, 0, 7, -1}) {  // the invalid ones keep 6
        SelectHitSound(choice);
        kept = choice >= 1 && choice <= 6 ? choice : kept;
        EXPECT_EQ(game.soundChoice, kept) << choice;
        EXPECT_STREQ(game.soundFile.data(), kFiles[kept - 1]) << choice;
        // The dialog's button of a choice and back, as the template numbers them.
        EXPECT_EQ(SoundChoiceOf(IDC_SOUND_FIRST + choice - 1), choice == kept ? choice : 0) << choice;
        EXPECT_EQ(SoundButton(kept), IDC_SOUND_FIRST + kept - 1);
        EXPECT_EQ(ReselectHitSound(), kept) << "pressed in as the dialog opens again";
    }
    EXPECT_EQ(SoundChoiceOf(IDC_SOUND_DONE), 0);
    // The wave dash of a button text must come out as 81 60.
    EXPECT_STREQ(kHitSounds[4].buttonText, "\x82\xce\x82\xab\x82\xe3\x81\x60\x82\xf1");
}

}  // namespace

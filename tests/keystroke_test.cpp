#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "course/hit_sound.h"
#include "course/keystroke.h"
#include "course/phrase_table.h"
#include "course/stage_navigation.h"
#include "tests/fake_platform.h"

namespace {

class KeystrokeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGame();
        TakePhraseBackup();
    }

    // Puts the engine at `slot` with `typed` characters of its romaji done.
    static void StandAt(int slot, size_t typed)
    {
        game.entryIndex = slot;
        phraseTable[slot].romaji = kCourse[slot].romaji + typed;
    }
};

TEST_F(KeystrokeTest, TypingTheWholeCourseEndsEveryStageWithItsCounts)
{
    constexpr int kStageChars[kStageCount] = {170, 175, 236, 227, 282, 279, 180, 164, 216};
    int stage = 1;
    fake.onGoalDialog = [&] {
        SCOPED_TRACE(stage);
        EXPECT_EQ(game.entryIndex, FirstSlotOfStage(stage) + 11);
        EXPECT_FALSE(game.runActive);
        EXPECT_FALSE(fake.timerRunning);
        EXPECT_EQ(game.hitCount, kStageChars[stage - 1]);
        EXPECT_EQ(game.missCount, 11);
        EXPECT_EQ(game.keyCount, kStageChars[stage - 1] + 11);
        ++stage;
        NextStage();
    };

    for (int s = 1; s <= kStageCount; ++s) {
        for (int slot = FirstSlotOfStage(s); slot < FirstSlotOfStage(s) + 11; ++slot) {
            ASSERT_EQ(game.entryIndex, slot);
            HandleCharacter('#');  // one wrong key per phrase
            for (const char* c = kCourse[slot].romaji; *c; ++c) {
                HandleCharacter(static_cast<unsigned char>(*c));
                ASSERT_EQ(game.keyCount, game.hitCount + game.missCount) << "slot " << slot;
            }
        }
    }

    EXPECT_EQ(fake.goalDialogs, 9);
    EXPECT_EQ(fake.timerStarts, 9);
    EXPECT_EQ(fake.hitSounds, 1929);
    EXPECT_EQ(fake.closeRequests, 1);  // moving on from stage 9; declined
    EXPECT_EQ(game.entryIndex, kFinalSlot);
}

struct KeyCase {
    int slot;
    size_t typed;       // characters of the slot's romaji already done
    unsigned int key;   // the character message's code
    bool hit;
};

TEST_F(KeystrokeTest, JudgesEachKeyAgainstTheNextCharacter)
{
    const KeyCase cases[] = {
        {0, 0, 'o', true},     {0, 0, 'O', true},      {0, 0, 'p', false},
        {0, 0, 0x16F, true},   // only the low byte counts
        {3, 2, 'S', true},     {0, 0, 0x82, false},    // lead byte of a double-byte character
        {0, 0, ' ', false},    {0, 0, '\r', false},    {0, 0, '\b', false},
        {0, 0, '\t', false},   {0, 0, 0x1B, false},    {0, 0, 0, false},
        // The marks match only themselves, not their neighbours in case folding.
        {39, 1, '?', true},    {39, 1, '/', false},    {39, 1, 0x1F, false},  {39, 1, '!', false},
        {31, 11, '!', true},   {31, 11, '1', false},   {31, 11, 0x01, false},
        {20, 2, '-', true},    {20, 2, '_', false},    {20, 2, '\r', false},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "slot " << c.slot << " key 0x" << std::hex << c.key);
        ResetGame();
        StandAt(c.slot, c.typed);

        HandleCharacter(c.key);

        EXPECT_EQ(static_cast<unsigned char>(game.typedText[0]), c.key & 0xFF);
        EXPECT_EQ(game.typedText[1], '\0');
        EXPECT_EQ(phraseTable[c.slot].romaji, kCourse[c.slot].romaji + c.typed + (c.hit ? 1 : 0));
        EXPECT_EQ(game.hitCount, c.hit ? 1 : 0);
        EXPECT_EQ(game.missCount, c.hit ? 0 : 1);
        EXPECT_EQ(game.keyCount, 1);
        EXPECT_EQ(fake.hitSounds, c.hit ? 1 : 0);
        EXPECT_EQ(fake.repaints > 0, c.hit);
        EXPECT_TRUE(game.runActive);
        EXPECT_TRUE(fake.timerRunning);
        const bool finished = c.hit && kCourse[c.slot].romaji[c.typed + 1] == '\0';
        EXPECT_EQ(game.entryIndex, c.slot + (finished ? 1 : 0));
    }
}

TEST_F(KeystrokeTest, FirstKeyStartsARunWithClearedCounters)
{
    game.score = 50;
    game.missCount = game.hitCount = game.keyCount = 7;
    game.accuracyPercent = 3.5;
    game.lastTick = 123;
    fake.tick = 5000;

    HandleCharacter('z');
    fake.tick = 6000;
    HandleCharacter('o');

    EXPECT_EQ(fake.timerStarts, 1);
    EXPECT_EQ(game.startTick, 5000u);
    EXPECT_EQ(game.lastTick, 123u);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.accuracyPercent, 0.0);
    EXPECT_EQ(game.missCount, 1);
    EXPECT_EQ(game.hitCount, 1);
    EXPECT_EQ(game.keyCount, 2);
}

TEST_F(KeystrokeTest, LastCharacterMovesToTheNextPhrase)
{
    StandAt(1, std::strlen(kCourse[1].romaji) - 1);
    game.phraseX = 400;

    HandleCharacter('a');

    EXPECT_EQ(game.entryIndex, 2);
    EXPECT_EQ(game.phraseX, kPhraseStartX);
    EXPECT_STREQ(phraseTable[1].romaji, "");
    EXPECT_EQ(game.hitCount, 1);
    EXPECT_EQ(fake.goalDialogs, 0);
}

TEST_F(KeystrokeTest, KeyAtAnEndOfStageSlotReopensTheGoalDialogUncounted)
{
    game.entryIndex = 11;
    game.keyCount = game.hitCount = 40;
    game.lastTick = 900;
    fake.tick = 1000;
    fake.onGoalDialog = [] {
        EXPECT_EQ(game.keyCount, 0);
        EXPECT_EQ(game.hitCount, 0);
        EXPECT_EQ(game.missCount, 0);
        EXPECT_EQ(game.startTick, 1000u);
        EXPECT_EQ(game.lastTick, 900u);
    };

    HandleCharacter('a');

    EXPECT_EQ(fake.goalDialogs, 1);
    EXPECT_EQ(fake.timerStarts, 1);
    EXPECT_EQ(fake.timerStops, 1);
    EXPECT_FALSE(game.runActive);
    EXPECT_EQ(fake.hitSounds, 1);
    EXPECT_EQ(fake.repaints, 1);
    EXPECT_EQ(game.entryIndex, 11);
}

// Slot 108 and a phrase typed to its end and entered again without a restore
// take no key at all, not even a zero byte that equals their terminator.
TEST_F(KeystrokeTest, EmptyRomajiTakesNoKey)
{
    for (int slot : {kFinalSlot, 12}) {
        SCOPED_TRACE(slot);
        ResetGame();
        StandAt(slot, std::strlen(kCourse[slot].romaji));
        const char* const end = phraseTable[slot].romaji;

        const unsigned int keys[] = {'a', 0, '\r', 'k'};
        for (unsigned int key : keys)
            HandleCharacter(key);

        EXPECT_EQ(phraseTable[slot].romaji, end);
        EXPECT_EQ(game.entryIndex, slot);
        EXPECT_EQ(game.missCount, 4);
        EXPECT_EQ(game.keyCount, 4);
        EXPECT_EQ(game.hitCount, 0);
        EXPECT_EQ(fake.hitSounds, 0);
        EXPECT_EQ(fake.repaints, 0);
        EXPECT_EQ(fake.goalDialogs, 0);
        EXPECT_TRUE(fake.timerRunning);
    }
}

TEST_F(KeystrokeTest, TitleShowsMillisecondsAcrossTheTickWrap)
{
    struct {
        uint32_t start, now;
        const char* title;
    } const cases[] = {
        {1000, 1750, "750"},
        {0xFFFFFF00u, 0x000000F0u, "496"},
        {0xFFFFFFFFu, 0xFFFFFFFFu, "0"},
        {1, 0, "4294967295"},
    };
    for (const auto& c : cases) {
        ResetGame();
        fake.tick = c.start;
        HandleCharacter('o');
        fake.tick = c.now;
        HandleTimerTick();
        EXPECT_EQ(game.lastTick, c.now);
        EXPECT_EQ(fake.title, c.title);
    }
}

TEST_F(KeystrokeTest, ReplacedSoundThreadHandlesAreReleased)
{
    for (char key : std::string("o#hay"))
        HandleCharacter(static_cast<unsigned char>(key));
    EXPECT_EQ(fake.hitSounds, 4);
    EXPECT_EQ(fake.releasedThreads, 3);
    EXPECT_EQ(game.soundThread, reinterpret_cast<NativeHandle>(uintptr_t{4}));
}

TEST(HitSound, ChoiceSetsTheFileNameAndIgnoresOtherValues)
{
    ResetGame();
    ChooseDefaultHitSound();
    EXPECT_EQ(game.soundChoice, 1);
    EXPECT_STREQ(game.soundFile.data(), "bane.wav");

    const char* const kFiles[] = {"bane.wav", "raser.wav", "rock.wav",
                                  "glass.wav", "gun.wav", "punch.wav"};
    for (int choice = 1; choice <= 6; ++choice) {
        SelectHitSound(choice);
        EXPECT_EQ(game.soundChoice, choice);
        EXPECT_STREQ(game.soundFile.data(), kFiles[choice - 1]);
    }
    SelectHitSound(3);
    for (int invalid : {0, 7, -1}) {
        SelectHitSound(invalid);
        EXPECT_EQ(game.soundChoice, 3);
        EXPECT_STREQ(game.soundFile.data(), "rock.wav");
    }
    // The wave dash of a button text must come out as 81 60.
    EXPECT_STREQ(kHitSounds[4].buttonText, "\x82\xce\x82\xab\x82\xe3\x81\x60\x82\xf1");
}

}  // namespace

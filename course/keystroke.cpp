#include "course/keystroke.h"

#include <string>

#include "base/platform.h"
#include "course/phrase_table.h"

namespace {

// Letters match in either case; every other byte only matches itself.
int FoldCase(char byte)
{
    const unsigned char value = static_cast<unsigned char>(byte);
    return (value >= 'A' && value <= 'Z') ? value - 'A' + 'a' : value;
}

void BeginRun()
{
    StartElapsedTimer();
    game.startTick = CurrentTick();
    game.score = 0;
    game.missCount = 0;
    game.hitCount = 0;
    game.keyCount = 0;
    game.accuracyPercent = 0.0;
}

void CountMiss()
{
    ++game.missCount;
    ++game.keyCount;
}

// Only the newest sound thread's handle is kept (closed when the window is
// destroyed); the one it replaces is never used again, so let it go now.
void PlayHitSound()
{
    const NativeHandle previous = game.soundThread;
    game.soundThread = StartHitSound();
    if (previous)
        ReleaseThreadHandle(previous);
}

}  // namespace

int MatchKeystroke()
{
    game.runActive = true;

    PhraseEntry& slot = phraseTable[game.entryIndex];
    if (!slot.romaji)
        return 0;

    const char expected = slot.romaji[0];
    const int difference = FoldCase(game.typedText[0]) - FoldCase(expected);
    if (difference != 0) {
        CountMiss();
        return difference;
    }
    // A zero byte equals the terminator of a finished romaji; it must neither
    // step past the end nor move to another slot.
    if (expected == '\0') {
        CountMiss();
        return 1;
    }

    ++slot.romaji;  // romaji is single-byte ASCII throughout
    ++game.hitCount;
    if (slot.romaji[0] == '\0') {
        game.phraseX = kPhraseStartX;
        ++game.entryIndex;
        RequestRepaint();
    }
    ++game.keyCount;
    return 0;
}

bool HandleCharacter(unsigned int characterCode)
{
    if (!game.runActive)
        BeginRun();

    // The byte and its terminator; a zero byte leaves an empty text.
    game.typedText[0] = static_cast<char>(characterCode & 0xFF);
    game.typedText[1] = '\0';

    if (MatchKeystroke() == 0) {
        PlayHitSound();
        RequestRepaint();
    }

    // The key may have finished the stage's last phrase, or met the
    // end-of-stage slot itself (a key after the goal dialog was closed).
    if (phraseTable[game.entryIndex].romaji)
        return false;
    StopElapsedTimer();
    game.runActive = false;
    return true;
}

void HandleTimerTick()
{
    game.lastTick = CurrentTick();
    // Unsigned 32-bit arithmetic keeps the difference right across the wrap
    // of the tick counter.
    const uint32_t elapsed = game.lastTick - game.startTick;
    SetMainWindowTitle(std::to_string(elapsed).c_str());
}

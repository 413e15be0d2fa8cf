#include "course/stage_navigation.h"

#include <algorithm>

#include "base/platform.h"
#include "course/phrase_table.h"

namespace {

// Leaving the current place cuts the run off without a result; the counters
// keep their values until the next key starts a new run.
void CutRun()
{
    StopElapsedTimer();
    game.runActive = false;
    game.phraseX = kPhraseStartX;
}

}  // namespace

// Moves forward without restoring anything: a stage entered this way is played
// in whatever state its slots were left. Past stage 9 the player is asked to quit.
void NextStage()
{
    CutRun();
    if (game.entryIndex < FirstSlotOfStage(kStageCount)) {
        const int stage = game.entryIndex / kSlotsPerStage + 1;
        game.entryIndex = FirstSlotOfStage(stage + 1);
    } else if (game.entryIndex <= kFinalSlot) {
        game.entryIndex = kFinalSlot;
        if (SendCloseRequest())
            return;  // shutting down: the window is no longer ours to paint
    }
    RequestRepaint();
}

// Goes back one stage (stage 1 restarts itself; the final slot goes back to
// stage 9) and puts that stage back to its start. The stage being left keeps
// its state.
void RetryPreviousStage()
{
    CutRun();
    if (game.entryIndex <= kFinalSlot) {
        const int stage = std::max(game.entryIndex / kSlotsPerStage, 1);
        RestoreStage(stage);
        game.entryIndex = FirstSlotOfStage(stage);
    }
    RequestRepaint();
}

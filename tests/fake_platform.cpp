#include "tests/fake_platform.h"

#include "app/startup.h"
#include "base/platform.h"
#include "course/keystroke.h"
#include "course/phrase_table.h"

FakePlatform fake;

void ResetGame()
{
    game = GameState{};
    phraseTable = kCourse;
    phraseBackup = {};
    fake = FakePlatform{};
}

void StartElapsedTimer() { fake.timerRunning = true; ++fake.timerStarts; }
void StopElapsedTimer() { fake.timerRunning = false; ++fake.timerStops; }
uint32_t CurrentTick() { return fake.tick; }
void SetMainWindowTitle(const char* text) { fake.title = text; ++fake.titleChanges; }
void RequestRepaint() { ++fake.repaints; }

// Distinct non-null values stand for thread handles.
NativeHandle StartHitSound() { return reinterpret_cast<NativeHandle>(static_cast<uintptr_t>(++fake.hitSounds)); }
void ReleaseThreadHandle(NativeHandle thread) { fake.releasedThreads += thread != nullptr; }

void PressKey(unsigned int code)
{
    if (!HandleCharacter(code))
        return;
    ++fake.goalDialogs;
    if (fake.onGoalDialog)
        fake.onGoalDialog();
}

bool SendCloseRequest()
{
    ++fake.closeRequests;
    if (fake.onCloseRequest)
        fake.onCloseRequest();
    if (!fake.agreeToClose)
        return false;
    ShutDownGame();  // as the main window's destroy handling does
    return true;
}

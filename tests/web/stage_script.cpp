// Plays stage 1 twice from a fixed script through the native core, as the unit
// tests drive it, and writes Rank.dat and Best.dat into the current directory.
// Prints the script, one event a line, for the page's test to play through the
// WebAssembly core (tests/web/same_bytes.test.mjs), which must keep the same bytes:
//   key MS CODE     the clock reads MS, the player types CODE
//   tick MS         the clock reads MS, the run's timer ticks
//   goal CONTROL    the goal dialog is open; the player presses CONTROL
// The player is ソ表たろう, whose ソ and 表 end in the byte of a backslash.
#include <cstdio>
#include <string>

#include "course/keystroke.h"
#include "course/phrase_table.h"
#include "course/stage_navigation.h"
#include "records/goal.h"
#include "resources/resource.h"
#include "tests/fake_platform.h"

namespace {

void Tick(uint32_t ms)
{
    fake.tick = ms;
    HandleTimerTick();
    std::printf("tick %u\n", static_cast<unsigned>(ms));
}

// Types `code` at `ms`, the timer ticking every 50 ms of the run before it.
void Key(uint32_t ms, unsigned char code)
{
    if (fake.timerRunning) {
        const uint32_t since = fake.tick - game.startTick, until = ms - game.startTick;
        for (uint32_t next = since - since % 50 + 50; next <= until; next += 50)
            Tick(game.startTick + next);
    }
    fake.tick = ms;
    std::printf("key %u %u\n", static_cast<unsigned>(ms), code);
    PressKey(code);
}

// One run of stage 1: a wrong key, a space and a capital now and then.
uint32_t PlayStage(uint32_t ms, int keyMilliseconds, int missEvery)
{
    int keys = 0;
    for (int slot = 0; slot < FirstSlotOfStage(2) - 1; ++slot) {
        for (const char* c = kCourse[slot].romaji; *c; ++c) {
            ms += keyMilliseconds + (keys * 37) % 60;
            if (++keys % missEvery == 0) {
                Key(ms, keys % 2 ? ' ' : 'q');
                ms += 90;
            }
            const bool capital = keys % 13 == 0 && *c >= 'a' && *c <= 'z';
            Key(ms, static_cast<unsigned char>(capital ? *c - 'a' + 'A' : *c));
        }
    }
    return ms;
}

}  // namespace

int main()
{
    ResetGame();
    TakePhraseBackup();
    const std::string name = "ソ表たろう";
    name.copy(game.playerName.data(), game.playerName.size() - 1);
    int goals = 0;
    fake.onGoalDialog = [&] {
        RecordGoal();
        // Back to stage 1 after the first goal, a rest after the second.
        const int control = ++goals == 1 ? IDC_GOAL_PREV : IDC_GOAL_REST;
        std::printf("goal %d\n", control);
        if (control == IDC_GOAL_PREV)
            RetryPreviousStage();
    };
    const uint32_t ms = PlayStage(4294950000u, 180, 9);  // the clock wraps round in the first run
    PlayStage(ms + 5000, 120, 40);                       // faster: a new record
    return goals == 2 ? 0 : 1;
}

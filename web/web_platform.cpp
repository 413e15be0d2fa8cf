// What the game core asks of the page. A page cannot wait for the player in
// the middle of a step: the close question opens and the step goes on; the
// player's answer comes back as a step of its own. Once the
// game has ended, these leave the page alone.
#include "base/platform.h"

#include <cmath>

#include "web/page.h"
#include "web/web_app.h"

void StartElapsedTimer()
{
    if (game.mainWindow)
        PageStartTimer();
}

void StopElapsedTimer()
{
    if (game.mainWindow)
        PageStopTimer();
}

// The page's milliseconds, wrapped round to 32 bits as the desktop's tick count is.
uint32_t CurrentTick() { return static_cast<uint32_t>(static_cast<uint64_t>(std::floor(PageNow()))); }

void SetMainWindowTitle(const char* text)
{
    if (game.mainWindow)
        PageSetTitle(text);
}

void RequestRepaint()
{
    if (game.mainWindow)
        PageRequestPaint();
}

// The page starts the sound itself, without a thread: there is no handle to keep.
NativeHandle StartHitSound()
{
    if (game.mainWindow)
        PagePlaySound(game.soundFile.data());
    return nullptr;
}

void ReleaseThreadHandle(NativeHandle) {}

// The question stays open after this returns; until it is answered, the game
// goes on as after a no.
bool SendCloseRequest()
{
    if (game.mainWindow)
        AskToClose();
    return game.mainWindow == nullptr;
}

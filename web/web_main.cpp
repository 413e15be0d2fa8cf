// The page's start: one game at a time, the sounds fetched ahead, the opening
// dialog; and what the page needs to know of the game before that.
#include "web/web_app.h"

#include <emscripten.h>

#include <array>
#include <cstdio>

#include "app/main_picture.h"
#include "app/shell_texts.h"
#include "app/startup.h"
#include "base/game_state.h"
#include "course/hit_sound.h"
#include "records/record_bytes.h"
#include "records/record_store.h"
#include "web/page.h"

namespace {

// The page's canvas stands for the main window. The core only asks whether
// there is one: ShutDownGame forgets it, and from then on nothing reaches the page.
char mainCanvas;

// The page has no exe of its own: a second page names the desktop game's.
constexpr const char* kExeName = "Keyhaven.exe";

void WarnOfSecondCopy()
{
    std::array<char, 1024> warning{};
    std::snprintf(warning.data(), warning.size(), kSecondCopyFormat, kExeName);
    PageMessageBox(warning.data(), kSecondCopyCaption, BoxStyle::OkWarning, [](bool) { PageShowEnd(); });
}

// Each sound is fetched and decoded once, before it is first played.
void LoadSounds()
{
    for (const HitSound& sound : kHitSounds)
        PageLoadSound(sound.fileName);
    PageLoadSound(kOpeningSound);
}

}  // namespace

extern "C" {

// What the page takes from the game rather than spelling it again, as JSON:
// the main window's ellipse, where the popup menu opens, the name that one
// game at a time holds, the record files' names and the largest one read.
EMSCRIPTEN_KEEPALIVE const char* KeyhavenSettings()
{
    static std::array<char, 512> json{};
    const WindowEllipse& e = kMainEllipse;
    std::snprintf(json.data(), json.size(),
                  "{\"ellipse\":{\"left\":%d,\"top\":%d,\"right\":%d,\"bottom\":%d},"
                  "\"menuOffset\":{\"x\":%d,\"y\":%d},\"instanceName\":\"%s\","
                  "\"recordFiles\":[\"%s\",\"%s\"],\"recordFileLimit\":%zu}",
                  e.left, e.top, e.right, e.bottom, kPopupMenuOffset.x, kPopupMenuOffset.y, kInstanceName,
                  RecordFileName(RecordFile::History), RecordFileName(RecordFile::Best), kMaxRecordFileBytes);
    return json.data();
}

// The page is ready: the game starts as the desktop's does, with the main
// window still hidden behind the opening dialog. `alone` is 0 when another
// page of the game holds its lock: this one warns and goes no further.
EMSCRIPTEN_KEEPALIVE void KeyhavenStart(int alone)
{
    if (!alone) {
        WarnOfSecondCopy();
        return;
    }
    game.mainWindow = &mainCanvas;
    PrepareGame();
    LoadSounds();
    PagePlaySound(kOpeningSound);
    PageSetTitle(kMainTitle);
    OpenOpeningDialog();
}

}  // extern "C"

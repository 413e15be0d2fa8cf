// The page's main window: the canvas that shows the course, and the place
// where keys, ticks and commands arrive, as at the desktop's MainWndProc.
#include "web/web_app.h"

#include <emscripten.h>

#include "app/main_picture.h"
#include "app/shell_texts.h"
#include "app/startup.h"
#include "base/game_state.h"
#include "course/keystroke.h"
#include "course/stage_navigation.h"
#include "resources/resource.h"
#include "web/page.h"

void AskToClose()
{
    PageMessageBox(kCloseQuestion, CloseQuestionCaption(), BoxStyle::YesNo, [](bool yes) {
        if (!yes || !game.mainWindow)
            return;
        ShutDownGame();
        PageShowEnd();
    });
}

extern "C" {

// A character typed at the main window; only its low byte counts. A key that
// ends a stage opens the goal dialog, the last thing the key does.
EMSCRIPTEN_KEEPALIVE void KeyhavenCharacter(unsigned int code)
{
    if (game.mainWindow && HandleCharacter(code))
        OpenGoalDialog();
}

// F1 to F8, through the accelerators of the resource script, and the popup menu.
EMSCRIPTEN_KEEPALIVE void KeyhavenCommand(int command)
{
    if (!game.mainWindow)
        return;
    switch (command) {
    case IDM_NEXT_STAGE: NextStage(); break;
    case IDM_EXIT: AskToClose(); break;
    case IDM_INFO: OpenInfoDialog(); break;
    case IDM_MAIL: OpenMailLink(); break;
    case IDM_RANKING: OpenRankingDialog(); break;
    case IDM_SOUND: OpenSoundDialog(); break;
    case IDM_PREV_STAGE: RetryPreviousStage(); break;
    default: break;  // IDM_SPARE (F2) has no action
    }
}

EMSCRIPTEN_KEEPALIVE void KeyhavenTick()
{
    if (game.mainWindow)
        HandleTimerTick();
}

EMSCRIPTEN_KEEPALIVE void KeyhavenPaint()
{
    if (!game.mainWindow)
        return;
    for (const PictureLayer& layer : PaintMainPicture()) {
        for (const PictureText& text : layer.texts) {
            if (text.text)
                PageDrawText(layer, text);
        }
    }
}

}  // extern "C"

// The page's entry points into the game, and its dialogs: the opening dialog,
// the goal dialog and the close question, each handled as the desktop's are.
// The page calls in for each event; everything runs on the page's one thread.
#include "web/web_app.h"

#include <emscripten.h>

#include <cstddef>
#include <string_view>

#include "app/main_picture.h"
#include "app/shell_texts.h"
#include "app/startup.h"
#include "base/game_state.h"
#include "course/keystroke.h"
#include "course/stage_navigation.h"
#include "records/goal.h"
#include "resources/resource.h"
#include "web/page.h"

namespace {

// The page's canvas stands for the main window. The core only asks whether
// there is one: ShutDownGame forgets it, and from then on nothing reaches the page.
char mainCanvas;

void OnOpeningCommand(int control)
{
    // Esc does nothing: the only way on is with a name.
    if (control != IDC_OPENING_START)
        return;
    StorePlayerName(PageItemText("MY_OPENING", IDC_OPENING_NAME));
    if (game.playerName[0] == '\0') {
        PageMessageBox(kNameMissingMessage, kNameMissingCaption, BoxStyle::Ok);
        return;
    }
    PageCloseDialog("MY_OPENING");
    PageMessageBox(kStartMessage, kStartCaption, BoxStyle::Ok, [](bool) { PageShowMainWindow(); });
}

void OnGoalCommand(int control)
{
    switch (control) {
    // Moving on after the last stage asks whether to quit; the dialog then
    // closes once the question is answered.
    case IDC_GOAL_NEXT: NextStage(); break;
    case IDC_GOAL_PREV: RetryPreviousStage(); break;
    case IDC_GOAL_REST: break;
    default: return;  // Esc among others: the dialog stays
    }
    PageCloseDialog("MY_GOAL");
}

}  // namespace

void OpenGoalDialog()
{
    const GoalReport report = RecordGoal();
    PageOpenDialog("MY_GOAL");
    PageSetDialogTitle("MY_GOAL", report.title);
    for (std::size_t i = 0; i < kStatisticControls.size(); ++i)
        PageSetItemText("MY_GOAL", kStatisticControls[i], report.statistics[i]);
    // The new record first, then the warning, one after the other.
    auto warnIfNotKept = [warning = report.notKeptMessage](bool) {
        if (!warning.empty())
            PageMessageBox(warning, kNotKeptCaption, BoxStyle::OkWarning);
    };
    if (!report.newRecordMessage.empty())
        PageMessageBox(report.newRecordMessage, "", BoxStyle::Ok, warnIfNotKept);
    else
        warnIfNotKept(true);
}

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

// The page is ready: the game starts as the desktop's does, with the main
// window still hidden behind the opening dialog.
EMSCRIPTEN_KEEPALIVE void KeyhavenStart()
{
    game.mainWindow = &mainCanvas;
    PrepareGame();
    PageSetTitle(kMainTitle);
    PageOpenDialog("MY_OPENING");
}

// A character typed at the main window; only its low byte counts.
EMSCRIPTEN_KEEPALIVE void KeyhavenCharacter(unsigned int code)
{
    if (game.mainWindow)
        HandleCharacter(code);
}

// F1 to F8, through the accelerators of the resource script.
EMSCRIPTEN_KEEPALIVE void KeyhavenCommand(int command)
{
    if (!game.mainWindow)
        return;
    switch (command) {
    case IDM_NEXT_STAGE: NextStage(); break;
    case IDM_PREV_STAGE: RetryPreviousStage(); break;
    case IDM_EXIT: AskToClose(); break;
    default: break;  // F2 has no action; the page has no information, sound, ranking or mail command
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

// A click on a dialog's button, or Enter on its default button.
EMSCRIPTEN_KEEPALIVE void KeyhavenDialogCommand(const char* name, int control)
{
    const std::string_view dialog = name;
    if (dialog == "MY_OPENING")
        OnOpeningCommand(control);
    else if (dialog == "MY_GOAL")
        OnGoalCommand(control);
}

}  // extern "C"

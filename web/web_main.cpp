// The page's entry points into the game, and its dialogs: the opening,
// information, sound settings, goal and ranking dialogs and the close
// question, each handled as the desktop's are. The page calls in for each
// event; everything runs on the page's one thread.
#include "web/web_app.h"

#include <emscripten.h>

#include <array>
#include <cstddef>
#include <cstdio>
#include <string_view>

#include "app/main_picture.h"
#include "app/shell_texts.h"
#include "app/startup.h"
#include "base/game_state.h"
#include "course/hit_sound.h"
#include "course/keystroke.h"
#include "course/stage_navigation.h"
#include "records/goal.h"
#include "records/ranking.h"
#include "resources/resource.h"
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

void OpenInfoDialog() { PageOpenDialog("MY_INFO"); }

void OnInfoCommand(int control)
{
    // Only the close button ends it; Esc and the close box do nothing.
    if (control == IDC_INFO_CLOSE)
        PageCloseDialog("MY_INFO");
}

void OpenSoundDialog()
{
    PageOpenDialog("MY_REGIST");
    if (const int choice = ReselectHitSound())
        PageCheckItem("MY_REGIST", SoundButton(choice));
}

void OnSoundCommand(int control)
{
    // A choice is in force as soon as it is clicked; closing never undoes it.
    if (const int choice = SoundChoiceOf(control))
        SelectHitSound(choice);
    else if (control == IDC_SOUND_DONE)
        PageCloseDialog("MY_REGIST");
}

// Whether the ranking dialog is open: a scroll action that comes after it
// has closed (a repeat the page left behind) moves nothing.
bool rankingOpen = false;

void OpenRankingDialog()
{
    PageOpenDialog("MY_RANK");
    rankingOpen = true;
    const HistoryLabelLayout& label = kHistoryLabel;
    PageAddText("MY_RANK", IDC_RANK_HISTORY_LABEL, label.x, label.y, label.width, label.height, label.fontHeight,
                kHistoryLabelText);
    const RankingReport report = OpenRanking();
    if (report.historyText)
        PageSetItemText("MY_RANK", IDC_RANK_HISTORY_LABEL, report.historyText);
    for (int k = 0; k < report.places; ++k)
        PageSetItemText("MY_RANK", IDC_RANK_FIRST_LINE + k, report.lines[k]);
    PageSetScrollRange("MY_RANK", 1, report.lastPosition);
}

// Steps and thumb moves only change the position; the label and the thumb
// follow when the scroll action ends.
void OnRankingScroll(int code, int thumbPos)
{
    if (!rankingOpen)
        return;
    if (const char* text = ScrollHistory(code, thumbPos)) {
        PageSetScrollPos("MY_RANK", game.historyPos);
        PageSetItemText("MY_RANK", IDC_RANK_HISTORY_LABEL, text);
    }
}

void OnRankingCommand(int control)
{
    if (control == IDC_RANK_CLOSE) {
        rankingOpen = false;
        PageCloseDialog("MY_RANK");
    }
}

// Browsers do not tell a page whether a mail program took the link, so the
// page has no failure to report.
void OpenMailLink() { PageOpenLink(kMailLink); }

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
    PageOpenDialog("MY_OPENING");
}

// A character typed at the main window; only its low byte counts.
EMSCRIPTEN_KEEPALIVE void KeyhavenCharacter(unsigned int code)
{
    if (game.mainWindow)
        HandleCharacter(code);
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

// A click on a dialog's button, or Enter on its default button.
EMSCRIPTEN_KEEPALIVE void KeyhavenDialogCommand(const char* name, int control)
{
    const std::string_view dialog = name;
    if (dialog == "MY_OPENING")
        OnOpeningCommand(control);
    else if (dialog == "MY_GOAL")
        OnGoalCommand(control);
    else if (dialog == "MY_INFO")
        OnInfoCommand(control);
    else if (dialog == "MY_REGIST")
        OnSoundCommand(control);
    else if (dialog == "MY_RANK")
        OnRankingCommand(control);
}

// An action on a dialog's scroll bar: a scroll code and the thumb's position.
EMSCRIPTEN_KEEPALIVE void KeyhavenDialogScroll(const char* name, int code, int thumbPos)
{
    if (std::string_view(name) == "MY_RANK")
        OnRankingScroll(code, thumbPos);
}

}  // extern "C"

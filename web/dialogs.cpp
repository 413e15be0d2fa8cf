// The five dialogs of the page: the opening (the player's name), the
// information dialog and the mail link, the hit-sound settings, the goal at
// the end of a stage and the ranking. Each is handled as the desktop's dialog
// procedure is; the page hands their clicks and scroll actions back here.
#include "web/web_app.h"

#include <emscripten.h>

#include <cstddef>
#include <string_view>

#include "app/shell_texts.h"
#include "app/startup.h"
#include "base/game_state.h"
#include "course/hit_sound.h"
#include "course/stage_navigation.h"
#include "records/goal.h"
#include "records/ranking.h"
#include "resources/resource.h"
#include "web/page.h"

namespace {

void OnOpeningCommand(int control)
{
    // Esc does nothing: the only way on is with a name.
    if (control != IDC_OPENING_START)
        return;
    if (!StorePlayerName(PageItemText("MY_OPENING", IDC_OPENING_NAME))) {
        PageMessageBox(kNameMissingMessage, kNameMissingCaption, BoxStyle::Ok);
        return;
    }
    PageCloseDialog("MY_OPENING");
    PageMessageBox(kStartMessage, kStartCaption, BoxStyle::Ok, [](bool) { PageShowMainWindow(); });
}

void OnInfoCommand(int control)
{
    // Only the close button ends it; Esc and the close box do nothing.
    if (control == IDC_INFO_CLOSE)
        PageCloseDialog("MY_INFO");
}

void OnSoundCommand(int control)
{
    // A choice is in force as soon as it is clicked; closing never undoes it.
    if (const int choice = SoundChoiceOf(control))
        SelectHitSound(choice);
    else if (control == IDC_SOUND_DONE)
        PageCloseDialog("MY_REGIST");
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

// Whether the ranking dialog is open: a scroll action that comes after it
// has closed (a repeat the page left behind) moves nothing.
bool rankingOpen = false;

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

}  // namespace

void OpenOpeningDialog() { PageOpenDialog("MY_OPENING"); }

void OpenInfoDialog() { PageOpenDialog("MY_INFO"); }

// Browsers do not tell a page whether a mail program took the link, so the
// page has no failure to report.
void OpenMailLink() { PageOpenLink(kMailLink); }

void OpenSoundDialog()
{
    PageOpenDialog("MY_REGIST");
    if (const int choice = ReselectHitSound())
        PageCheckItem("MY_REGIST", SoundButton(choice));
}

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

extern "C" {

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

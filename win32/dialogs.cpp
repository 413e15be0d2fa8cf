// The five dialogs of the Windows game: the opening (the player's name), the
// information dialog and the mail link, the hit-sound settings, the goal at
// the end of a stage and the ranking. Each shows what the core works out and
// hands the player's clicks back to it.
#include "win32/win32_app.h"

#include <shellapi.h>

#include <cstddef>
#include <string>

#include "app/shell_texts.h"
#include "app/startup.h"
#include "course/hit_sound.h"
#include "records/goal.h"
#include "records/ranking.h"
#include "resources/resource.h"

namespace {

// Opening dialog.

// Takes the whole field, however long, so the name is cut on a character
// boundary rather than in the middle of a two-byte character.
std::string NameFieldText(HWND dialog)
{
    HWND field = GetDlgItem(dialog, IDC_OPENING_NAME);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(field)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(field, text.data(), static_cast<int>(text.size()))));
    return text;
}

void OnOpeningStart(HWND dialog)
{
    if (!StorePlayerName(NameFieldText(dialog))) {
        MessageBoxA(dialog, kNameMissingMessage, kNameMissingCaption, MB_OK);
        return;
    }
    EndDialog(dialog, 555);
}

// Sound settings dialog.

void OnSoundInit(HWND dialog)
{
    CenterWindow(dialog);
    if (const int choice = ReselectHitSound())
        SendDlgItemMessageA(dialog, SoundButton(choice), BM_SETCHECK, BST_CHECKED, 0);
}

void OnSoundCommand(HWND dialog, int control)
{
    // A choice is in force as soon as it is clicked; closing never undoes it.
    if (const int choice = SoundChoiceOf(control))
        SelectHitSound(choice);
    else if (control == IDC_SOUND_DONE)
        EndDialog(dialog, 333);
    // Anything else, Esc and the close box among them, leaves the dialog open.
}

// Goal dialog.

void OnGoalInit(HWND dialog)
{
    CenterWindow(dialog);
    const GoalReport report = RecordGoal();
    SetWindowTextA(dialog, report.title.c_str());
    for (std::size_t i = 0; i < kStatisticControls.size(); ++i)
        SetDlgItemTextA(dialog, kStatisticControls[i], report.statistics[i].c_str());
    // Both files are written and closed by now.
    if (!report.newRecordMessage.empty())
        MessageBoxA(nullptr, report.newRecordMessage.c_str(), "", MB_OK);
    if (!report.notKeptMessage.empty())
        MessageBoxA(dialog, report.notKeptMessage.c_str(), kNotKeptCaption, MB_OK | MB_ICONWARNING);
}

void OnGoalCommand(HWND dialog, int control)
{
    switch (control) {
    // The main window moves the course on, as for F5 and F6, while this
    // dialog is still open: after the last stage it asks whether to quit.
    case IDC_GOAL_NEXT:
        SendMessageA(MainWindow(), WM_COMMAND, IDM_NEXT_STAGE, 0);
        EndDialog(dialog, 666);
        break;
    case IDC_GOAL_PREV:
        SendMessageA(MainWindow(), WM_COMMAND, IDM_PREV_STAGE, 0);
        EndDialog(dialog, 666);
        break;
    case IDC_GOAL_REST:
        EndDialog(dialog, 666);
        break;
    default:  // Esc among others: the dialog stays
        break;
    }
}

// Ranking dialog: the five best entries, and a scroll bar that pages through
// the history one stage result at a time.

void SetBrowseRange(HWND dialog, int last)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE;
    info.nMin = 1;
    info.nMax = last;
    SetScrollInfo(dialog, SB_HORZ, &info, TRUE);
}

void MoveThumb(HWND dialog, int pos)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = pos;
    SetScrollInfo(dialog, SB_HORZ, &info, TRUE);
}

void ShowHistoryText(const char* text)
{
    SetWindowTextA(static_cast<HWND>(game.historyLabel), text);
}

void OnRankInit(HWND dialog)
{
    game.rankDialog = dialog;
    CenterWindow(dialog);

    // The label is the dialog's own, with a font of its own; both go when it closes.
    const HistoryLabelLayout& layout = kHistoryLabel;
    HFONT font = CreateFontA(layout.fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                             0, 0, 0, 0, kFontFace);
    game.historyFont = font;
    HWND label = CreateWindowExA(0, "static", kHistoryLabelText, WS_CHILD | WS_VISIBLE,
                                 layout.x, layout.y, layout.width, layout.height, dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_RANK_HISTORY_LABEL)),
                                 Instance(), nullptr);
    game.historyLabel = label;
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);

    const RankingReport report = OpenRanking();
    if (report.historyText)
        ShowHistoryText(report.historyText);
    for (int k = 0; k < report.places; ++k)
        SetDlgItemTextA(dialog, IDC_RANK_FIRST_LINE + k, report.lines[k].c_str());
    // A range of a single position shows no scroll bar.
    SetBrowseRange(dialog, report.lastPosition);
}

// Steps and thumb moves only change the position; the label and the thumb
// follow when the scroll action ends (SB_ENDSCROLL and the codes above 5).
void OnRankScroll(HWND dialog, WPARAM wParam)
{
    if (const char* text = ScrollHistory(LOWORD(wParam), HIWORD(wParam))) {
        MoveThumb(dialog, game.historyPos);
        ShowHistoryText(text);
    }
}

void OnRankCommand(HWND dialog, int control)
{
    // Only the close button ends it; Esc and the close box do nothing.
    if (control != IDC_RANK_CLOSE)
        return;
    DestroyWindow(static_cast<HWND>(game.historyLabel));
    game.historyLabel = nullptr;
    DeleteObject(static_cast<HFONT>(game.historyFont));
    game.historyFont = nullptr;
    EndDialog(dialog, 222);
}

} // namespace

INT_PTR CALLBACK OpeningDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        CenterWindow(dialog);
        return TRUE;  // focus on the start button
    case WM_COMMAND:
        // Esc (IDCANCEL) does nothing: the only way on is with a name.
        if (LOWORD(wParam) == IDC_OPENING_START)
            OnOpeningStart(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK InfoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        CenterWindow(dialog);
        return TRUE;
    case WM_COMMAND:
        // Only the close button ends it; Esc and the close box do nothing.
        if (LOWORD(wParam) == IDC_INFO_CLOSE)
            EndDialog(dialog, 111);
        return TRUE;
    default:
        return FALSE;
    }
}

void OpenMailLink()
{
    HINSTANCE result = ShellExecuteA(MainWindow(), "open", kMailLink, nullptr, nullptr, SW_SHOWNORMAL);
    // Values up to 32 are the shell's error codes.
    if (reinterpret_cast<UINT_PTR>(result) <= 32)
        MessageBoxA(MainWindow(), "メールソフトを開く事が出来ませんねぇ", "ｵｰﾌﾟﾝｴﾗｰ", MB_OK);
}

INT_PTR CALLBACK SoundDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnSoundInit(dialog);
        return TRUE;  // focus on the done button
    case WM_COMMAND:
        OnSoundCommand(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK GoalDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnGoalInit(dialog);
        return TRUE;  // focus on the next-stage button
    case WM_COMMAND:
        OnGoalCommand(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK RankDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnRankInit(dialog);
        return TRUE;  // focus on the close button
    case WM_HSCROLL:
        OnRankScroll(dialog, wParam);
        return TRUE;
    case WM_COMMAND:
        OnRankCommand(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

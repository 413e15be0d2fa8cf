// The stage-result dialog: shows what RecordGoal worked out, then lets the
// player go on, go back or rest.
#include "records/records_dialogs.h"

#include <cstddef>

#include "base/win32_shared.h"
#include "records/goal.h"
#include "resources/resource.h"

namespace {

void OnInitDialog(HWND dialog)
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

void OnCommand(HWND dialog, int control)
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

} // namespace

INT_PTR CALLBACK GoalDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;  // focus on the next-stage button
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

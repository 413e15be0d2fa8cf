// The stage-result dialog: shows what RecordGoal worked out, then lets the
// player go on, go back or rest.
#include "app/windows_app.h"

#include <cstddef>

#include "course/stage_navigation.h"
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
        MessageBoxA(dialog, report.notKeptMessage.c_str(), "ｾｰﾌﾞｴﾗｰ", MB_OK | MB_ICONWARNING);
}

void OnCommand(HWND dialog, int control)
{
    switch (control) {
    case IDC_GOAL_NEXT:
        NextStage();
        EndDialog(dialog, 666);
        break;
    case IDC_GOAL_PREV:
        RetryPreviousStage();
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
        return 1;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        return 1;
    default:
        return 0;
    }
}

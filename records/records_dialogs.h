// The two dialogs of the results and records: the goal dialog at the end of a
// stage and the ranking dialog.
#pragma once

#include "base/win32_shared.h"

INT_PTR CALLBACK GoalDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RankDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The ranking dialog: the five best entries, and a scroll bar that pages
// through the history one stage result at a time.
#include "records/records_dialogs.h"

#include <algorithm>

#include "base/win32_shared.h"
#include "records/best_file.h"
#include "records/history_file.h"
#include "resources/resource.h"

namespace {

constexpr int kRankingPlaces = 5;

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

void ShowHistoryText(int pos)
{
    SetWindowTextA(static_cast<HWND>(game.historyLabel), HistoryTextAt(pos));
}

void OnInitDialog(HWND dialog)
{
    game.rankDialog = dialog;
    CenterWindow(dialog);

    // The label is the dialog's own, with a font of its own; both go when it closes.
    HFONT font = CreateFontA(18, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                             0, 0, 0, 0, kFontFace);
    game.historyFont = font;
    HWND label = CreateWindowExA(0, "static", "過去のﾃﾞｰﾀが表示されます！", WS_CHILD | WS_VISIBLE,
                                 135, 165, 410, 170, dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_RANK_HISTORY_LABEL)),
                                 Instance(), nullptr);
    game.historyLabel = label;
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);

    // Both files are read again, so the dialog shows what is on disk; a file
    // that cannot be read now leaves the game's own copy.
    if (LoadHistory() == ReadResult::Read)
        ShowHistoryText(1);
    LoadBest();
    const int places = std::min(game.bestCount, kRankingPlaces);
    for (int k = 0; k < places; ++k)
        SetDlgItemTextA(dialog, IDC_RANK_FIRST_LINE + k, FormatRankingLine(k + 1, game.bestTable[k]).c_str());

    // A range of a single position shows no scroll bar.
    SetBrowseRange(dialog, game.historyBrowseMax + 1);
    game.historyPos = 1;
}

// Steps and thumb moves only change the position; the label and the thumb
// follow when the scroll action ends (SB_ENDSCROLL and the codes above 5).
void OnHScroll(HWND dialog, WPARAM wParam)
{
    const int code = LOWORD(wParam);
    if (code <= SB_THUMBTRACK) {
        game.historyPos = ScrolledHistoryPos(game.historyPos, code, HIWORD(wParam), game.historyBrowseMax);
        return;
    }
    MoveThumb(dialog, game.historyPos);
    ShowHistoryText(game.historyPos);
}

void OnCommand(HWND dialog, int control)
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

INT_PTR CALLBACK RankDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;  // focus on the close button
    case WM_HSCROLL:
        OnHScroll(dialog, wParam);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

// The ranking dialog: the five best entries, and a scroll bar that pages
// through the history one stage result at a time.
#include "records/records_dialogs.h"

#include "base/win32_shared.h"
#include "records/ranking.h"
#include "resources/resource.h"

namespace {

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

void OnInitDialog(HWND dialog)
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
void OnHScroll(HWND dialog, WPARAM wParam)
{
    if (const char* text = ScrollHistory(LOWORD(wParam), HIWORD(wParam))) {
        MoveThumb(dialog, game.historyPos);
        ShowHistoryText(text);
    }
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

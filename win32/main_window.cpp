// The main window: an elliptic black stage showing the current phrase, and the
// place where keys, ticks and commands arrive.
#include "win32/win32_app.h"

#include <imm.h>

#include "app/main_picture.h"
#include "app/shell_texts.h"
#include "app/startup.h"
#include "course/keystroke.h"
#include "course/stage_navigation.h"
#include "resources/resource.h"

namespace {

// Draws a layer's texts in a font made for them alone; the font is gone when
// this returns.
void DrawLayer(HDC dc, const PictureLayer& layer)
{
    HFONT font = CreateFontA(layer.fontHeight, 0, 0, 0, layer.fontWeight, FALSE, FALSE, FALSE,
                             SHIFTJIS_CHARSET, 0, 0, 0, 0, kFontFace);
    HGDIOBJ previous = SelectObject(dc, font);
    SetTextColor(dc, layer.colour);
    for (const PictureText& line : layer.texts) {
        if (line.text)
            TextOutA(dc, line.x, line.y, line.text, lstrlenA(line.text));
    }
    SelectObject(dc, previous);
    DeleteObject(font);
}

void OnCreate(HWND window)
{
    // Only the ellipse shows: the title and menu bars lie above it.
    const WindowEllipse& ellipse = kMainEllipse;
    HRGN region = CreateEllipticRgn(ellipse.left, ellipse.top, ellipse.right, ellipse.bottom);
    game.windowRegion = region;
    SetWindowRgn(window, region, TRUE);  // the window owns the region from here on

    // Romaji arrive as plain characters: no input method in this window.
    SetImeOpen(window, false);
    ImmAssociateContext(window, nullptr);
    PrepareGame();
}

void OnPaint(HWND window)
{
    const auto picture = PaintMainPicture();
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    SetBkMode(dc, TRANSPARENT);
    for (const PictureLayer& layer : picture)
        DrawLayer(dc, layer);
    EndPaint(window, &paint);
}

// The program ends only after the player agrees. The window itself stays
// until the message loop ends; only the destroy handling runs now.
void OnClose(HWND window)
{
    if (MessageBoxA(window, kCloseQuestion, CloseQuestionCaption().c_str(), MB_YESNO) == IDYES)
        SendMessageA(window, WM_DESTROY, 0, 0);
}

void OnDestroy(HWND window)
{
    SetImeOpen(window, true);
    ShutDownGame();
    PostQuitMessage(0);
}

void RunDialog(HWND window, const char* templateName, DLGPROC procedure)
{
    DialogBoxParamA(Instance(), templateName, window, procedure, 0);
}

// A key that ends a stage opens the goal dialog, which records the result as
// it opens; the key's handling goes on once the player has closed it. A key
// still queued behind a confirmed close opens nothing.
void OnCharacter(HWND window, unsigned int code)
{
    if (HandleCharacter(code) && game.mainWindow)
        RunDialog(window, "MY_GOAL", GoalDlgProc);
}

// F1 to F8 and the popup menu end up here alike.
void OnCommand(HWND window, int command)
{
    // After a confirmed close, a key still queued behind it opens nothing.
    if (!game.mainWindow)
        return;
    switch (command) {
    case IDM_NEXT_STAGE: NextStage(); break;
    case IDM_EXIT: SendMessageA(window, WM_CLOSE, 0, 0); break;
    case IDM_INFO: RunDialog(window, "MY_INFO", InfoDlgProc); break;
    case IDM_MAIL: OpenMailLink(); break;
    case IDM_RANKING: RunDialog(window, "MY_RANK", RankDlgProc); break;
    case IDM_SOUND: RunDialog(window, "MY_REGIST", SoundDlgProc); break;
    case IDM_PREV_STAGE: RetryPreviousStage(); break;
    default: break;  // IDM_SPARE (F2) has no action
    }
}

} // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: OnCreate(window); return 0;
    case WM_PAINT: OnPaint(window); return 0;
    case WM_CLOSE: OnClose(window); return 0;
    case WM_DESTROY: OnDestroy(window); return 0;
    case WM_CHAR: OnCharacter(window, static_cast<unsigned int>(wParam)); return 0;
    case WM_TIMER: HandleTimerTick(); return 0;
    case WM_COMMAND: OnCommand(window, LOWORD(wParam)); return 0;
    case WM_RBUTTONDOWN: ShowPopupMenu(window, wParam, lParam); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void SetImeOpen(HWND window, bool open)
{
    HIMC context = ImmGetContext(window);
    if (!context)
        return;
    ImmSetOpenStatus(context, open);
    ImmReleaseContext(window, context);
}

int ShowPopupMenu(HWND window, WPARAM, LPARAM lParam)
{
    // The menu opens at the same place on the screen for the same spot in
    // the window, wherever the window is.
    const int x = LOWORD(lParam) + kPopupMenuOffset.x;
    const int y = HIWORD(lParam) + kPopupMenuOffset.y;
    TrackPopupMenu(GetSubMenu(GetMenu(window), 0), TPM_RIGHTBUTTON, x, y, 0, window, nullptr);
    return 0;
}

// The main window: an elliptic black stage showing the current phrase, and the
// place where keys, ticks and commands arrive.
#include "app/windows_app.h"

#include <imm.h>

#include <array>
#include <initializer_list>

#include "app/startup.h"
#include "course/keystroke.h"
#include "course/phrase_table.h"
#include "course/sound_dialog.h"
#include "course/stage_navigation.h"
#include "records/records_dialogs.h"
#include "resources/resource.h"

namespace {

struct TextAt {
    int x;
    int y;
    const char* text;  // nullptr draws nothing
};

// Draws texts in a font made for them alone; the font is gone when this returns.
void DrawInFont(HDC dc, int height, int weight, COLORREF colour, std::initializer_list<TextAt> texts)
{
    HFONT font = CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                             0, 0, 0, 0, kFontFace);
    HGDIOBJ previous = SelectObject(dc, font);
    SetTextColor(dc, colour);
    for (const TextAt& line : texts) {
        if (line.text)
            TextOutA(dc, line.x, line.y, line.text, lstrlenA(line.text));
    }
    SelectObject(dc, previous);
    DeleteObject(font);
}

void OnCreate(HWND window)
{
    // Only the ellipse shows: the title and menu bars lie above it.
    HRGN region = CreateEllipticRgn(10, 50, 845, 600);
    game.windowRegion = region;
    SetWindowRgn(window, region, TRUE);  // the window owns the region from here on

    // Romaji arrive as plain characters: no input method in this window.
    SetImeOpen(window, false);
    ImmAssociateContext(window, nullptr);
    PrepareGame();
}

void OnPaint(HWND window)
{
    // The romaji drifts right on every paint until a new phrase resets it.
    game.phraseX += 5;

    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    SetBkMode(dc, TRANSPARENT);
    const PhraseEntry& entry = phraseTable[game.entryIndex];
    DrawInFont(dc, 200, FW_NORMAL, 0x9FFF38, {{game.phraseX, 165, entry.romaji}});  // green
    DrawInFont(dc, 38, FW_NORMAL, 0xFA9664, {{135, 120, entry.caption}});           // light blue
    DrawInFont(dc, 18, FW_BOLD, 0x6464C8,                                          // dull red
               {{110, 400, "F3：効果音設定　F4：ランキング　F5：次のステージ　F6：前のステージ･･再挑戦！"},
                {220, 455, "F7：ケスカソフトウエアデザインへメール！　F8：終了"}});
    EndPaint(window, &paint);
}

// The program ends only after the player agrees. The window itself stays
// until the message loop ends; only the destroy handling runs now.
void OnClose(HWND window)
{
    std::array<char, 64> caption{};
    wsprintfA(caption.data(), "%sの終了", kMainTitle);
    if (MessageBoxA(window, "終了しますか？", caption.data(), MB_YESNO) == IDYES)
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
    case WM_CHAR: HandleCharacter(static_cast<unsigned int>(wParam)); return 0;
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
    // The click's client position, moved right and down, is taken as a screen
    // position as it stands: the menu opens at the same place on the screen
    // for the same spot in the window, wherever the window is.
    const int x = LOWORD(lParam) + 150;
    const int y = HIWORD(lParam) + 180;
    TrackPopupMenu(GetSubMenu(GetMenu(window), 0), TPM_RIGHTBUTTON, x, y, 0, window, nullptr);
    return 0;
}

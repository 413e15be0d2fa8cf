// Start-up: one copy only, the opening dialog, the start message, the main
// window shown centred; then the game at rest.
#include <cctype>
#include <cstdio>

#include "tests/e2e/game_test.h"

namespace {

class Startup : public GameTest {};

constexpr const char* kNameErrorCaption = "タイピスト入力エラー";

void TypeKeys(std::string_view letters)  // real key presses
{
    for (char c : letters)
        PressKey(static_cast<WORD>(std::toupper(static_cast<unsigned char>(c))));
}

TEST_F(Startup, SecondCopyWarnsAndEndsWithZeroWhileTheFirstGoesOn)
{
    ASSERT_TRUE(game.Start(folder));
    HWND opening = game.WaitForWindow(kDialogClass, kOpeningTitle);
    ASSERT_NE(opening, nullptr) << "the first copy shows no opening dialog";

    GameProcess second(folder);
    HWND warning = second.WaitForWindow(kDialogClass, "二重起動！！");
    ASSERT_NE(warning, nullptr) << "the second copy gave no warning";
    SaveScreenshot(warning, "warning");
    EXPECT_EQ(MessageBoxText(warning), "Keyhaven.exe は既に開いているよ！");
    EXPECT_TRUE(ShowsIcon(warning));
    EXPECT_EQ(GetWindow(warning, GW_OWNER), nullptr);
    EXPECT_EQ(second.TopWindow(kMainClass, nullptr, false), nullptr)
        << "the second copy made a main window";
    Click(warning, IDOK);
    DWORD code = 99;
    ASSERT_TRUE(second.WaitForExit(code)) << "the second copy did not end after the warning";
    EXPECT_EQ(code, 0u);

    // The first copy is where it was, and plays on.
    EXPECT_TRUE(IsWindowVisible(opening));
    HWND firstMain = game.TopWindow(kMainClass, kMainTitle, false);
    EXPECT_FALSE(IsWindowVisible(firstMain));
    EXPECT_EQ(EnterGame(game, "Aoi"), firstMain);
}

TEST_F(Startup, OpeningAsksForANameThenTheStartMessageThenTheCentredWindow)
{
    folder.AgeAccessTime("opening.wav");
    ASSERT_TRUE(game.Start(folder));
    HWND opening = game.WaitForWindow(kDialogClass, kOpeningTitle);
    ASSERT_NE(opening, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return folder.ReadSinceAged("opening.wav"); }))
        << "opening.wav was not played";
    HWND main = game.TopWindow(kMainClass, kMainTitle, false);
    ASSERT_NE(main, nullptr) << "no main window behind the opening dialog";
    EXPECT_FALSE(IsWindowVisible(main)) << "the main window shows during the opening";
    EXPECT_EQ(GetWindowLongA(opening, GWL_STYLE) & WS_SYSMENU, 0) << "the opening has a close box";
    SaveScreenshot(opening, "opening");

    // The focus starts on the start button, so letters typed at once miss the
    // name field; Esc is ignored; Enter presses the start button, and the
    // empty name is refused, as often as the button is pressed.
    ASSERT_TRUE(BringToFront(opening));
    TypeKeys("abc");
    PressKey(VK_ESCAPE);
    PressKey(VK_RETURN);
    for (int press = 1; press <= 2; ++press) {
        if (press == 2)
            Click(opening, IDC_OPENING_START);
        HWND error = game.WaitForWindow(kDialogClass, kNameErrorCaption);
        ASSERT_NE(error, nullptr) << "press " << press
                                  << ": the empty name was not refused (or Esc closed the dialog)";
        if (press == 1)
            SaveScreenshot(error, "empty-name");
        EXPECT_EQ(MessageBoxText(error), "名前又はニックネームを入力して下さい");
        EXPECT_EQ(GetWindow(error, GW_OWNER), opening);
        EXPECT_FALSE(ShowsIcon(error));
        EXPECT_EQ(ControlText(opening, IDC_OPENING_NAME), "");
        ASSERT_TRUE(Dismiss(error, IDOK));
        EXPECT_TRUE(IsWindowVisible(opening));
    }

    // Tab to the field, type a name, and Enter starts the game.
    ASSERT_TRUE(BringToFront(opening));
    PressKey(VK_TAB);
    TypeKeys("taro");
    ASSERT_TRUE(WaitUntil([&] { return ControlText(opening, IDC_OPENING_NAME) == "taro"; }))
        << "the name field holds \"" << ControlText(opening, IDC_OPENING_NAME) << "\"";
    PressKey(VK_RETURN);

    HWND start = game.WaitForWindow(kDialogClass, kStartCaption);
    ASSERT_NE(start, nullptr) << "no start message after the name";
    SaveScreenshot(start, "start-message");
    EXPECT_EQ(MessageBoxText(start),
              "表示されている '緑色'のアルファベットをタイピングし始めると、スタートします！\n"
              "　　尚、好ポイントは、ランキング上位に記録されますので、頑張って！");
    EXPECT_EQ(GetWindow(start, GW_OWNER), nullptr);
    EXPECT_FALSE(IsWindow(opening) && IsWindowVisible(opening));
    EXPECT_FALSE(IsWindowVisible(main)) << "the main window shows before the start message is gone";

    Click(start, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    EXPECT_TRUE(IsCentred(main));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }))
        << "the main window is not active";
    EXPECT_EQ(WindowText(main), kMainTitle);
    SaveScreenshot(main, "main-window");
}

TEST_F(Startup, GameAtRestIdlesAndAnswersTheKeysAndTheMenu)
{
    ASSERT_TRUE(Start());

    // Waiting for the next message costs nothing.
    const double before = game.ReadCounters().cpuSeconds;
    Sleep(3000);
    const double used = game.ReadCounters().cpuSeconds - before;
    std::printf("idle game: %.3f s of CPU in 3 s\n", used);
    EXPECT_LT(used, 0.15);

    // F2 does nothing at all (F1 afterwards proves that F2 has been handled).
    const std::vector<HWND> windows = game.Windows();
    PressKey(VK_F2);
    ASSERT_TRUE(InfoDialogRoundTrip(game, main));
    EXPECT_EQ(game.Windows(), windows);
    EXPECT_EQ(WindowText(main), kMainTitle) << "F2 started a run";

    // A right click at a client point opens the menu 150, 180 further on the
    // screen wherever the window is; Down seven times reaches the quit item
    // (the separator is skipped), six times the information.
    struct MenuCase {
        int x, y, downs;
        const char* dialog;
        int closeButton;
    };
    for (const MenuCase& c : {MenuCase{0, 0, 7, kCloseCaption, IDNO},
                              MenuCase{100, 40, 6, kInfoTitle, 1000}}) {
        SCOPED_TRACE(c.dialog);
        ASSERT_TRUE(BringToFront(main));
        PostMessageA(main, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(c.x, c.y));
        HWND menu = game.WaitForWindow(kMenuClass, nullptr);
        ASSERT_NE(menu, nullptr) << "no popup menu";
        RECT place{};
        GetWindowRect(menu, &place);
        EXPECT_EQ(place.left, 150 + c.x);
        EXPECT_EQ(place.top, 180 + c.y);
        if (c.closeButton == IDNO)
            SaveScreenshot(menu, "popup-menu");
        for (int item = 0; item < c.downs; ++item)
            PressKey(VK_DOWN);
        PressKey(VK_RETURN);
        HWND dialog = game.WaitForWindow(kDialogClass, c.dialog);
        ASSERT_NE(dialog, nullptr) << "the menu item opened nothing; " << DescribeWindows(game);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), main);
        if (c.closeButton == IDNO) {
            SaveScreenshot(dialog, "close-question");
            EXPECT_EQ(MessageBoxText(dialog), kCloseText);
        }
        ASSERT_TRUE(Dismiss(dialog, c.closeButton));
    }

    // F8: No keeps the game going, Yes ends it with 0.
    HWND confirm = OpenWithKey(game, main, VK_F8, kCloseCaption);
    ASSERT_TRUE(confirm != nullptr && Dismiss(confirm, IDNO)) << "F8 did not ask to quit";
    ASSERT_TRUE(InfoDialogRoundTrip(game, main)) << "the game did not go on after No";
    EXPECT_TRUE(YesEndsWithZero(game, OpenWithKey(game, main, VK_F8, kCloseCaption)))
        << "F8 did not ask to quit, or Yes did not end the game";
}

}  // namespace

// Start-up: one copy only, the opening dialog, the start message, the main
// window shown centred; then the game at rest.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/e2e/driver.h"

namespace {

constexpr const char* kWarningCaption = "二重起動！！";
constexpr const char* kNameErrorCaption = "タイピスト入力エラー";
constexpr const char* kNameErrorText = "名前又はニックネームを入力して下さい";

TEST(Startup, SecondCopyWarnsAndEndsWithZeroWhileTheFirstGoesOn)
{
    GameFolder folder;
    GameProcess first(folder);
    HWND opening = first.WaitForWindow(kDialogClass, kOpeningTitle);
    ASSERT_NE(opening, nullptr) << "the first copy shows no opening dialog";
    HWND firstMain = first.TopWindow(kMainClass, kMainTitle, false);
    ASSERT_NE(firstMain, nullptr);

    GameProcess second(folder);
    HWND warning = second.WaitForWindow(kDialogClass, kWarningCaption);
    ASSERT_NE(warning, nullptr) << "the second copy gave no warning";
    SaveScreenshot(warning, "warning");
    EXPECT_EQ(MessageBoxText(warning), "Keyhaven.exe は既に開いているよ！");
    EXPECT_TRUE(ShowsIcon(warning));
    EXPECT_EQ(OwnerOf(warning), nullptr);
    EXPECT_EQ(second.TopWindow(kMainClass, nullptr, false), nullptr)
        << "the second copy made a main window";
    Click(warning, IDOK);
    DWORD code = 99;
    ASSERT_TRUE(second.WaitForExit(code)) << "the second copy did not end after the warning";
    EXPECT_EQ(code, 0u);

    // The first copy is where it was, and plays on to a confirmed end.
    EXPECT_TRUE(IsWindowVisible(opening));
    EXPECT_FALSE(IsWindowVisible(firstMain));
    HWND main = EnterGame(first, "Aoi");
    ASSERT_EQ(main, firstMain);
    PressKey(VK_F8);
    HWND confirm = first.WaitForWindow(kDialogClass, kCloseCaption);
    ASSERT_NE(confirm, nullptr);
    Click(confirm, IDYES);
    ASSERT_TRUE(first.WaitForExit(code));
    EXPECT_EQ(code, 0u);
}

TEST(Startup, OpeningAsksForANameThenTheStartMessageThenTheCentredWindow)
{
    GameFolder folder;
    folder.AgeAccessTime("opening.wav");
    GameProcess game(folder);
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
    // empty name is refused.
    ASSERT_TRUE(BringToFront(opening));
    TypeKeys("abc");
    PressKey(VK_ESCAPE);
    PressKey(VK_RETURN);
    HWND error = game.WaitForWindow(kDialogClass, kNameErrorCaption);
    ASSERT_NE(error, nullptr) << "an empty name was not refused (or Esc closed the dialog)";
    SaveScreenshot(error, "empty-name");
    EXPECT_EQ(MessageBoxText(error), kNameErrorText);
    EXPECT_EQ(OwnerOf(error), opening);
    EXPECT_FALSE(ShowsIcon(error));
    EXPECT_EQ(ControlText(opening, 1025), "");
    Click(error, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(error); }));
    EXPECT_TRUE(IsWindowVisible(opening));

    // Refused again, as often as the button is pressed.
    Click(opening, 1022);
    error = game.WaitForWindow(kDialogClass, kNameErrorCaption);
    ASSERT_NE(error, nullptr);
    Click(error, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(error); }));

    // Tab to the field, type a name, and Enter starts the game.
    ASSERT_TRUE(BringToFront(opening));
    PressKey(VK_TAB);
    TypeKeys("taro");
    ASSERT_TRUE(WaitUntil([&] { return ControlText(opening, 1025) == "taro"; }))
        << "the name field holds \"" << ControlText(opening, 1025) << "\"";
    PressKey(VK_RETURN);

    HWND start = game.WaitForWindow(kDialogClass, kStartCaption);
    ASSERT_NE(start, nullptr) << "no start message after the name";
    SaveScreenshot(start, "start-message");
    EXPECT_EQ(MessageBoxText(start), kStartText);
    EXPECT_EQ(OwnerOf(start), nullptr);
    EXPECT_FALSE(IsWindow(opening) && IsWindowVisible(opening));
    EXPECT_FALSE(IsWindowVisible(main)) << "the main window shows before the start message is gone";

    Click(start, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    RECT desktop{}, frame{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(main, &frame);
    EXPECT_EQ(frame.left, (desktop.right - (frame.right - frame.left)) / 2);
    EXPECT_EQ(frame.top, (desktop.bottom - (frame.bottom - frame.top)) / 2);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }))
        << "the main window is not active";
    EXPECT_EQ(WindowText(main), kMainTitle);
    SaveScreenshot(main, "main-window");
}

TEST(Startup, GameAtRestIdlesAndAnswersTheKeysAndTheMenu)
{
    GameFolder folder;
    GameProcess game(folder);
    HWND main = EnterGame(game, "Aoi");
    ASSERT_NE(main, nullptr);

    // Waiting for the next message costs nothing.
    const double before = game.ReadCounters().cpuSeconds;
    Sleep(3000);
    const double used = game.ReadCounters().cpuSeconds - before;
    std::printf("idle game: %.3f s of CPU in 3 s\n", used);
    EXPECT_LT(used, 0.15) << "the idle game used " << used << " s of CPU in 3 s";

    // F2 does nothing at all (F1 afterwards proves that F2 has been handled).
    const std::vector<HWND> windows = game.VisibleWindows();
    PressKey(VK_F2);
    ASSERT_TRUE(InfoDialogRoundTrip(game, main));
    EXPECT_EQ(game.VisibleWindows(), windows);
    EXPECT_EQ(WindowText(main), kMainTitle) << "F2 started a run";

    // A right click at client (0, 0) opens the menu at screen (150, 180)
    // wherever the window is; its eighth item asks whether to quit.
    ASSERT_TRUE(BringToFront(main));
    PostMessageA(main, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(0, 0));
    HWND menu = game.WaitForWindow(kMenuClass, nullptr);
    ASSERT_NE(menu, nullptr) << "no popup menu";
    RECT place{};
    GetWindowRect(menu, &place);
    EXPECT_EQ(place.left, 150);
    EXPECT_EQ(place.top, 180);
    SaveScreenshot(menu, "popup-menu");
    for (int item = 0; item < 7; ++item)  // six items, the separator skipped
        PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    HWND confirm = game.WaitForWindow(kDialogClass, kCloseCaption);
    ASSERT_NE(confirm, nullptr) << "the menu's last item did not ask to quit; "
                                << DescribeWindows(game);
    SaveScreenshot(confirm, "close-question");
    EXPECT_EQ(MessageBoxText(confirm), kCloseText);
    EXPECT_EQ(OwnerOf(confirm), main);
    Click(confirm, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(confirm); }));

    // A click at (100, 40) opens it at (250, 220); the seventh item is F1's.
    ASSERT_TRUE(BringToFront(main));
    PostMessageA(main, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 40));
    ASSERT_TRUE(WaitUntil([&] { return (menu = game.TopWindow(kMenuClass, nullptr)) != nullptr; }));
    GetWindowRect(menu, &place);
    EXPECT_EQ(place.left, 250);
    EXPECT_EQ(place.top, 220);
    for (int item = 0; item < 6; ++item)
        PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    HWND info = game.WaitForWindow(kDialogClass, kInfoTitle);
    ASSERT_NE(info, nullptr) << "the menu's seventh item did not open the information";
    Click(info, 1000);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(info); }));

    // F8: No keeps the game going, Yes ends it with 0.
    ASSERT_TRUE(BringToFront(main));
    PressKey(VK_F8);
    confirm = game.WaitForWindow(kDialogClass, kCloseCaption);
    ASSERT_NE(confirm, nullptr) << "F8 did not ask to quit";
    Click(confirm, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(confirm); }));
    ASSERT_TRUE(InfoDialogRoundTrip(game, main)) << "the game did not go on after No";
    EXPECT_TRUE(game.Running());
    PressKey(VK_F8);
    confirm = game.WaitForWindow(kDialogClass, kCloseCaption);
    ASSERT_NE(confirm, nullptr);
    Click(confirm, IDYES);
    DWORD code = 99;
    ASSERT_TRUE(game.WaitForExit(code)) << "Yes did not end the game";
    EXPECT_EQ(code, 0u);
}

}  // namespace

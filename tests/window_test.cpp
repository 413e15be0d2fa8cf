// The main window's procedure and the Win32 platform layer, driven by direct
// messages to a hidden main window (cross-built only, runs under Wine).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/shell_texts.h"
#include "win32/win32_app.h"

#include <imm.h>

#include "base/platform.h"
#include "course/phrase_table.h"
#include "resources/resource.h"

namespace {

constexpr const char* kTestClass = "KeyhavenMainWindowTest";

std::string WindowText(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        game = GameState{};
        phraseTable = kCourse;
        game.instance = GetModuleHandleA(nullptr);
        static const ATOM registered = [] {
            WNDCLASSEXA windowClass{};
            windowClass.cbSize = sizeof windowClass;
            windowClass.lpfnWndProc = MainWndProc;
            windowClass.hInstance = GetModuleHandleA(nullptr);
            windowClass.lpszClassName = kTestClass;
            return RegisterClassExA(&windowClass);
        }();
        ASSERT_NE(registered, 0);
        window = CreateWindowExA(0, kTestClass, kMainTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, Instance(), nullptr);
        ASSERT_NE(window, nullptr);
        game.mainWindow = window;
    }

    void TearDown() override
    {
        DestroyWindow(window);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    HWND window = nullptr;
};

TEST_F(MainWindowTest, CreationShapesTheWindowAndPaintsMoveTheRomaji)
{
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    HRGN ellipse = CreateEllipticRgn(10, 50, 845, 600);
    EXPECT_EQ(GetWindowRgn(window, shape), COMPLEXREGION);
    // The same area, however the platform splits it into rectangles.
    EXPECT_EQ(CombineRgn(shape, shape, ellipse, RGN_XOR), NULLREGION);
    DeleteObject(shape);
    DeleteObject(ellipse);
    EXPECT_EQ(ImmGetContext(window), nullptr);  // no input method in this window

    EXPECT_FALSE(game.runActive);
    EXPECT_EQ(game.soundChoice, 1);
    EXPECT_STREQ(game.soundFile.data(), "bane.wav");

    EXPECT_EQ(game.phraseX, 180);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(SendMessageA(window, WM_PAINT, 0, 0), 0);
    EXPECT_EQ(game.phraseX, 200) << "every paint moves the romaji five pixels right";
}

TEST_F(MainWindowTest, KeysAndTicksReachTheEngine)
{
    EXPECT_EQ(SendMessageA(window, WM_CHAR, 'O', 0), 0);
    EXPECT_EQ(game.hitCount, 1);
    EXPECT_STREQ(phraseTable[0].romaji, "hayougozaimasu");
    ASSERT_NE(game.soundThread, nullptr);
    EXPECT_EQ(WaitForSingleObject(static_cast<HANDLE>(game.soundThread), 5000), WAIT_OBJECT_0);

    EXPECT_EQ(SendMessageA(window, WM_TIMER, ELAPSED_TIMER_ID, 0), 0);
    const std::string title = WindowText(window);
    ASSERT_FALSE(title.empty());
    EXPECT_EQ(title.find_first_not_of("0123456789"), std::string::npos) << title;

    EXPECT_TRUE(KillTimer(window, ELAPSED_TIMER_ID)) << "the first key starts the elapsed timer";
}

TEST_F(MainWindowTest, CommandsWithoutAnActionAreIgnored)
{
    for (WPARAM command : {WPARAM{IDM_SPARE}, WPARAM{12345}}) {
        EXPECT_EQ(SendMessageA(window, WM_COMMAND, command, 0), 0);
        EXPECT_EQ(game.entryIndex, 0);
        EXPECT_EQ(game.mainWindow, window);
    }
}

TEST_F(MainWindowTest, DestroyReleasesTheLastSoundThreadAndQuits)
{
    SendMessageA(window, WM_CHAR, 'o', 0);
    ASSERT_NE(game.soundThread, nullptr);

    EXPECT_EQ(SendMessageA(window, WM_DESTROY, 0, 0), 0);
    EXPECT_EQ(game.soundThread, nullptr);
    EXPECT_EQ(game.mainWindow, nullptr);
    EXPECT_EQ(game.instance, nullptr);
    EXPECT_FALSE(KillTimer(window, ELAPSED_TIMER_ID)) << "the timer is stopped";
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);

    // The window outlives the game until the loop ends; nothing may touch it now.
    const std::string title = WindowText(window);
    SetMainWindowTitle("123");
    EXPECT_EQ(WindowText(window), title);
    EXPECT_EQ(StartHitSound(), nullptr);
    EXPECT_TRUE(SendCloseRequest());
}

TEST(CenterWindowTest, CentresOnTheDesktopWithoutClamping)
{
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    for (int width : {835, static_cast<int>(desktop.right) + 3}) {
        HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, width, 550, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        CenterWindow(window);
        RECT frame{};
        GetWindowRect(window, &frame);
        // A window wider than the desktop starts left of it: (-3) / 2 is -1.
        EXPECT_EQ(frame.left, (desktop.right - width) / 2) << width;
        EXPECT_EQ(frame.top, (desktop.bottom - 550) / 2);
        EXPECT_EQ(frame.right - frame.left, width);
        EXPECT_TRUE(IsWindowVisible(window));
        DestroyWindow(window);
    }
}

TEST(ExeFileNameTest, IsTheNameWithoutItsDirectoryWhenItFits)
{
    char name[128] = {};
    const int length = GetExeFileName(name, sizeof name);
    EXPECT_STREQ(name, "keyhaven_window_tests.exe");
    ASSERT_EQ(length, static_cast<int>(std::strlen(name)));

    char exact[64], small[64];
    EXPECT_EQ(GetExeFileName(exact, length + 1), length);
    std::memset(small, 'x', sizeof small);
    EXPECT_EQ(GetExeFileName(small, length), 0);
    EXPECT_EQ(small[0], 'x');
}

} // namespace

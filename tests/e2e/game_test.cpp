#include "tests/e2e/game_test.h"

#include <cstdlib>

namespace {

// Without an X display Wine cannot show a single window; say so once and
// fail the whole run instead of letting every test time out.
class DisplayCheck : public testing::Environment {
    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        ASSERT_TRUE(display != nullptr && *display != '\0')
            << "DISPLAY is not set: the end-to-end tests need an X server (run them under Xvfb)";
    }
};
testing::Environment* const displayCheck = testing::AddGlobalTestEnvironment(new DisplayCheck);

}  // namespace

void ReportFailure(const std::string& what, std::source_location where)
{
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line())) << what;
}

bool YesEndsWithZero(const GameProcess& game, HWND confirm)
{
    if (confirm == nullptr)
        return false;
    Click(confirm, IDYES);
    DWORD code = 99;
    if (!game.WaitForExit(code))
        return false;
    EXPECT_EQ(code, 0u);
    return true;
}

void ExpectFigures(HWND goal, const GoalFigures& figures)
{
    EXPECT_EQ(ControlText(goal, IDC_GOAL_KEYS), figures.keys);
    EXPECT_EQ(ControlText(goal, IDC_GOAL_HITS), figures.hits);
    EXPECT_EQ(ControlText(goal, IDC_GOAL_ACCURACY), figures.accuracy);
    EXPECT_EQ(ControlText(goal, IDC_GOAL_SECONDS), figures.seconds);
    EXPECT_EQ(ControlText(goal, IDC_GOAL_PERCHAR), figures.perChar);
}

void SaveScreenshot(HWND window, std::string_view name)
{
    const Bytes png = ScreenshotPng(window);
    if (png.empty())
        return;
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    const char* runFolder = std::getenv("E2E_ARTIFACTS_DIR");  // set by a run in another locale
    const std::string dir = WindowsPath(runFolder ? runFolder : E2E_ARTIFACTS_DIR);
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::string path = dir + "\\" + test->test_suite_name() + "." + test->name() + "-" +
                             std::string(name) + ".png";
    if (!WriteWholeFile(path, png))
        ADD_FAILURE() << "cannot save the screenshot " << path;
}

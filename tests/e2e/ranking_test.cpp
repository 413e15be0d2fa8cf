// The ranking dialog (F4): the five best entries as they stand on disk and
// the history browser on the dialog's horizontal scroll bar.
#include "tests/e2e/driver.h"

namespace {

class Ranking : public GameTest {};

constexpr int kLabel = 40008;

std::vector<std::string> RankingLines(HWND dialog)
{
    std::vector<std::string> lines;
    for (int id = 7001; id <= 7005; ++id)
        lines.push_back(ControlText(dialog, id));
    return lines;
}

bool ShowsScrollBar(HWND dialog)
{
    return (GetWindowLongA(dialog, GWL_STYLE) & WS_HSCROLL) != 0;
}

TEST_F(Ranking, ShowsTheFirstFiveEntriesInFileOrderAndNoHistoryWithoutRankDat)
{
    folder.Write("Best.dat", BestFile({{"Aoi", 1100}, {"たろう", 1148}, {"Ken", 900},
                                       {"Mio", 850}, {"Sora", -40}, {"Riku", 600}, {"Yui", 500}}));
    ASSERT_TRUE(Start());
    // Opened twice in a row, it shows the same each time.
    for (int opening = 1; opening <= 2; ++opening) {
        HWND ranking = OpenWithKey(game, main, VK_F4, kRankTitle);
        ASSERT_NE(ranking, nullptr) << "F4 opened no ranking (opening " << opening << ")";
        if (opening == 1)
            SaveScreenshot(ranking, "seven-entries");
        EXPECT_EQ(GetWindow(ranking, GW_OWNER), main);
        EXPECT_EQ(RankingLines(ranking),
                  (std::vector<std::string>{"第1位 Aoiさん：1100ﾎﾟｲﾝﾄ", "第2位 たろうさん：1148ﾎﾟｲﾝﾄ",
                                            "第3位 Kenさん：900ﾎﾟｲﾝﾄ", "第4位 Mioさん：850ﾎﾟｲﾝﾄ",
                                            "第5位 Soraさん：-40ﾎﾟｲﾝﾄ"}));
        EXPECT_EQ(ControlText(ranking, kLabel), "過去のﾃﾞｰﾀが表示されます！");
        EXPECT_FALSE(ShowsScrollBar(ranking)) << "a scroll bar without any history";
        ASSERT_TRUE(Dismiss(ranking, 1011));
    }
}

TEST_F(Ranking, BrowsesThreeResultsAndKeepsThePlacesNobodyHolds)
{
    const std::vector<std::string> history = {
        ExpectedFigures(120, 110, 45500).HistoryText("たろう"),
        ExpectedFigures(180, 175, 60000).HistoryText("Aoi"),
        ExpectedFigures(170, 170, 30000).HistoryText("Ken")};
    folder.Write("Rank.dat", RankFile(history));
    folder.Write("Best.dat", BestFile({{"たろう", 1148}, {"Aoi", 1100}}));
    ASSERT_TRUE(Start());

    HWND ranking = OpenWithKey(game, main, VK_F4, kRankTitle);
    ASSERT_NE(ranking, nullptr);
    SaveScreenshot(ranking, "first-result");
    EXPECT_EQ(RankingLines(ranking),
              (std::vector<std::string>{"第1位 たろうさん：1148ﾎﾟｲﾝﾄ", "第2位 Aoiさん：1100ﾎﾟｲﾝﾄ",
                                        "第3位 いないよぉ", "第4位 いないよぉ", "第5位 いないよぉ"}));
    EXPECT_TRUE(ShowsScrollBar(ranking));

    auto label = [&] { return ControlText(ranking, kLabel); };
    auto scroll = [&](int code, int position = 0) {
        SendMessageTimeoutA(ranking, WM_HSCROLL, MAKEWPARAM(code, position), 0, SMTO_ABORTIFHUNG,
                            5000, nullptr);
    };
    // Each action shows its result only when it ends.
    auto step = [&](int code, int position = 0) {
        const std::string before = label();
        scroll(code, position);
        EXPECT_EQ(label(), before) << "the label moved before the scroll action ended";
        scroll(SB_ENDSCROLL);
        return label();
    };
    EXPECT_EQ(label(), history[0]);
    EXPECT_EQ(step(SB_LINERIGHT), history[1]);
    EXPECT_EQ(step(SB_LINERIGHT), history[2]);
    EXPECT_EQ(step(SB_LINERIGHT), "") << "position 4 holds no result";
    EXPECT_EQ(step(SB_LINERIGHT), "");
    EXPECT_EQ(step(SB_LINELEFT), history[2]) << "the position went past 4";
    EXPECT_EQ(step(SB_LINERIGHT), "");
    EXPECT_EQ(step(SB_PAGELEFT), history[0]) << "4 - 5 is not held at 1";
    EXPECT_EQ(step(SB_LINELEFT), history[0]);
    EXPECT_EQ(step(SB_PAGERIGHT), "") << "1 + 5 is not held at 4";
    EXPECT_EQ(step(SB_LINELEFT), history[2]);

    // Dragging the thumb from 1 to 3: the label waits for the release.
    EXPECT_EQ(step(SB_PAGELEFT), history[0]);
    scroll(SB_THUMBTRACK, 2);
    scroll(SB_THUMBTRACK, 3);
    EXPECT_EQ(label(), history[0]);
    EXPECT_EQ(step(SB_THUMBPOSITION, 3), history[2]);
    SaveScreenshot(ranking, "third-result");

    ASSERT_TRUE(IgnoresEscAndCloseBox(game, ranking)) << "Esc or the close box closed the ranking";
    ASSERT_TRUE(Dismiss(ranking, 1011));
    EXPECT_TRUE(IsWindowEnabled(main));
}

}  // namespace

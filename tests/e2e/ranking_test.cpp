// The ranking dialog (F4): the five best entries as they stand on disk and
// the history browser on the dialog's horizontal scroll bar.
#include "tests/e2e/game_test.h"

#include <algorithm>
#include <climits>

namespace {

class Ranking : public GameTest {};

constexpr int kLabel = IDC_RANK_HISTORY_LABEL;

std::vector<std::string> RankingLines(HWND dialog)
{
    std::vector<std::string> lines;
    for (int id = IDC_RANK_FIRST_LINE; id < IDC_RANK_FIRST_LINE + 5; ++id)
        lines.push_back(ControlText(dialog, id));
    return lines;
}

bool ShowsScrollBar(HWND dialog)
{
    return (GetWindowLongA(dialog, GWL_STYLE) & WS_HSCROLL) != 0;
}

RECT ScreenRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// A window as it is on the screen, and where text is drawn in it.
class Picture {
public:
    explicit Picture(HWND window) : rect_(ScreenRect(window)), pixels_(Capture(rect_)) {}

    // The pixels of an area darker than `limit` in every channel, in screen coordinates.
    std::vector<POINT> Dark(const RECT& area, uint32_t limit) const
    {
        std::vector<POINT> dark;
        for (LONG y = std::max(area.top, rect_.top); y < std::min(area.bottom, rect_.bottom); ++y)
            for (LONG x = std::max(area.left, rect_.left); x < std::min(area.right, rect_.right); ++x) {
                const uint32_t pixel = pixels_[(y - rect_.top) * (rect_.right - rect_.left) + x - rect_.left];
                if ((pixel >> 16 & 0xFF) < limit && (pixel >> 8 & 0xFF) < limit && (pixel & 0xFF) < limit)
                    dark.push_back({x, y});
            }
        return dark;
    }

    // The middle row of each run of rows with text in it (black and its
    // smoothed edges), from the top.
    std::vector<LONG> TextLineMiddles(const RECT& area) const
    {
        std::vector<bool> inked(area.bottom - area.top + 1);
        for (POINT p : Dark(area, 0x80))
            inked[p.y - area.top] = true;
        std::vector<LONG> middles;
        for (LONG y = 0, top = 0; y < static_cast<LONG>(inked.size()); ++y) {
            if (inked[y] && (y == 0 || !inked[y - 1]))
                top = y;
            if (!inked[y] && y > 0 && inked[y - 1])
                middles.push_back(area.top + (top + y - 1) / 2);
        }
        return middles;
    }

private:
    RECT rect_;
    std::vector<uint32_t> pixels_;
};

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
        ASSERT_TRUE(Dismiss(ranking, IDC_RANK_CLOSE));
    }
}

TEST_F(Ranking, DrawsItsCloseBoxAsACrossAndEachHistoryLineBesideItsCaption)
{
    folder.Write("Rank.dat", RankFile({ExpectedFigures(120, 110, 45500).HistoryText("たろう")}));
    ASSERT_TRUE(Start());
    HWND ranking = OpenWithKey(game, main, VK_F4, kRankTitle);
    ASSERT_NE(ranking, nullptr);
    SaveScreenshot(ranking, "one-result");  // waits until the dialog is drawn

    const Picture picture(ranking);

    // The close box is Marlett's ×, the same mirrored either way; without
    // Marlett it is a letter, which is not. Black only: its edges are dark grey.
    WINDOWINFO info{};
    info.cbSize = sizeof info;
    GetWindowInfo(ranking, &info);
    const LONG right = info.rcClient.right;
    const std::vector<POINT> cross =
        picture.Dark({right - GetSystemMetrics(SM_CXSIZE), info.rcWindow.top, right, info.rcClient.top}, 0x40);
    EXPECT_GE(cross.size(), 4u) << "no black glyph in the close box";
    LONG left = LONG_MAX, rightmost = 0, upper = LONG_MAX, lower = 0;
    for (POINT p : cross) {
        left = std::min(left, p.x), rightmost = std::max(rightmost, p.x);
        upper = std::min(upper, p.y), lower = std::max(lower, p.y);
    }
    auto dark = [&](LONG x, LONG y) {
        return std::any_of(cross.begin(), cross.end(), [&](POINT p) { return p.x == x && p.y == y; });
    };
    EXPECT_TRUE(std::all_of(cross.begin(), cross.end(), [&](POINT p) {
        return dark(left + rightmost - p.x, p.y) && dark(p.x, upper + lower - p.y);
    })) << "the close box is no cross";

    // The label is placed in pixels, its captions in dialog units: with the
    // dialog font's metrics right, each of its six lines sits level with its caption.
    const RECT whole = ScreenRect(GetDlgItem(ranking, kLabel));
    RECT label{};  // it reaches past the dialog's right edge
    IntersectRect(&label, &info.rcClient, &whole);
    const std::vector<LONG> lines = picture.TextLineMiddles(label);
    ASSERT_EQ(lines.size(), 6u) << "the history text is not six lines";
    const int captions[] = {IDC_RANK_NAME_CAPTION, IDC_RANK_KEYS_CAPTION, IDC_RANK_HITS_CAPTION,
                            IDC_RANK_ACCURACY_CAPTION, IDC_RANK_SECONDS_CAPTION, IDC_RANK_PERCHAR_CAPTION};
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const std::vector<LONG> caption =
            picture.TextLineMiddles(ScreenRect(GetDlgItem(ranking, captions[k])));
        ASSERT_EQ(caption.size(), 1u) << "caption " << captions[k];
        EXPECT_NEAR(caption[0], lines[k], 3) << "history line " << k + 1 << " and caption " << captions[k];
    }
    ASSERT_TRUE(Dismiss(ranking, IDC_RANK_CLOSE));
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
    ASSERT_TRUE(Dismiss(ranking, IDC_RANK_CLOSE));
    EXPECT_TRUE(IsWindowEnabled(main));
}

}  // namespace

// What the ranking dialog shows, for every front end: the five best entries
// and the history browser, which pages through the results one at a time.
#pragma once

#include <array>
#include <string>

inline constexpr int kRankingPlaces = 5;

// The label that shows one history text beside the six captions of the
// template. The dialog adds it itself, placed in pixels of its client area,
// in a font of the given cell height.
struct HistoryLabelLayout {
    int x, y, width, height, fontHeight;
};
inline constexpr HistoryLabelLayout kHistoryLabel = {135, 165, 410, 170, 18};
inline constexpr const char* kHistoryLabelText = "過去のﾃﾞｰﾀが表示されます！";

struct RankingReport {
    int places;                                       // ranking lines held, from place 1
    std::array<std::string, kRankingPlaces> lines;    // their texts; the other places keep the template's
    const char* historyText;                          // the label's text; nullptr keeps the label's own
    int lastPosition;                                 // the scroll range is 1 to this; 1 shows no scroll bar
};

// Reads both record files again, so that the dialog shows what is on disk,
// and puts the browser on the first result. A file that cannot be read now
// leaves the game's own copy.
RankingReport OpenRanking();

// A scroll action of the history browser, with Windows' scroll codes. Steps
// and thumb moves (codes 0 to 5) only move game.historyPos and return
// nullptr; every other code ends the action and returns the text at the
// position, which the label shows and where the thumb goes.
const char* ScrollHistory(int code, int thumbPos);

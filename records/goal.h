// The bookkeeping of a finished stage: statistics, points, history and best table.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "resources/resource.h"

struct GoalReport {
    std::string title;                      // the goal dialog's title
    // Keystrokes, correct keystrokes, accuracy, seconds, seconds per character:
    // the order in which they are computed and in which the history lists them.
    std::array<std::string, 5> statistics;
    std::string newRecordMessage;           // empty unless the result is a new best
    std::string notKeptMessage;             // empty unless a record file did not get the result
};

// The goal dialog's controls of the five statistics, in the order of
// GoalReport::statistics.
inline constexpr std::array<int, 5> kStatisticControls = {IDC_GOAL_KEYS, IDC_GOAL_HITS, IDC_GOAL_ACCURACY,
                                                          IDC_GOAL_SECONDS, IDC_GOAL_PERCHAR};

// The caption of the warning that shows notKeptMessage.
inline constexpr const char* kNotKeptCaption = "ｾｰﾌﾞｴﾗｰ";

// Turns the run that just ended into a result: computes the statistics and
// `game.score`, appends the result to the history and the best table and
// saves both files. The dialog only has to show what it returns. A run
// without a correct key finished no stage: then nothing is recorded and the
// report holds the texts of the last recorded result (empty before the first).
GoalReport RecordGoal();

int32_t ComputeScore(double accuracy, uint32_t seconds, double secondsPerCharacter);

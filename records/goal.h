// The bookkeeping of a finished stage: statistics, points, history and best table.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Control ids of the five statistics in the goal dialog, in the order they
// are computed: keystrokes, correct keystrokes, accuracy, seconds, seconds per character.
constexpr std::array<int, 5> kStatisticControls = {1030, 1040, 1032, 1034, 1036};

struct GoalReport {
    std::string title;                      // the goal dialog's title
    std::array<std::string, 5> statistics;  // one text per control, as in kStatisticControls
    std::string newRecordMessage;           // empty unless the result is a new best
    std::string notKeptMessage;             // empty unless a record file did not get the result
};

// Turns the run that just ended into a result: computes the statistics and
// `game.score`, appends the result to the history and the best table and
// saves both files. The dialog only has to show what it returns.
GoalReport RecordGoal();

int32_t ComputeScore(double accuracy, uint32_t seconds, double secondsPerCharacter);

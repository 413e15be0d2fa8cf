// The bookkeeping of a finished stage: statistics, points, history and best table.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct GoalReport {
    std::string title;                      // the goal dialog's title
    // Keystrokes, correct keystrokes, accuracy, seconds, seconds per character:
    // the order in which they are computed and in which the history lists them.
    std::array<std::string, 5> statistics;
    std::string newRecordMessage;           // empty unless the result is a new best
    std::string notKeptMessage;             // empty unless a record file did not get the result
};

// The caption of the warning that shows notKeptMessage.
inline constexpr const char* kNotKeptCaption = "ｾｰﾌﾞｴﾗｰ";

// Turns the run that just ended into a result: computes the statistics and
// `game.score`, appends the result to the history and the best table and
// saves both files. The dialog only has to show what it returns.
GoalReport RecordGoal();

int32_t ComputeScore(double accuracy, uint32_t seconds, double secondsPerCharacter);

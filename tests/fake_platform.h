// A recording stand-in for the platform, so the core can be driven in tests.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "base/game_state.h"

struct FakePlatform {
    bool timerRunning = false;
    int timerStarts = 0, timerStops = 0;
    uint32_t tick = 0;      // what CurrentTick() answers
    std::string title;      // the main window's title as last set
    int titleChanges = 0, repaints = 0, hitSounds = 0;
    int releasedThreads = 0;  // handles released, null ones not counted
    int goalDialogs = 0, closeRequests = 0;
    std::function<void()> onGoalDialog;    // runs as PressKey opens the goal dialog
    std::function<void()> onCloseRequest;  // runs while the player is asked
    bool agreeToClose = false;  // the player's answer to the close question
};

extern FakePlatform fake;

// Puts the game, the course and the fake back to a freshly started program.
void ResetGame();

// A key as a front end hands it over: the character handler, then the goal
// dialog when the key ended a stage.
void PressKey(unsigned int code);

// The run's counters: hits, misses, keys.
inline std::array<int32_t, 3> Counters() { return {game.hitCount, game.missCount, game.keyCount}; }

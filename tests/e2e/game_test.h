// The tests' side of the driver: the fixture, the checks of a result, and
// screenshots named after the test that takes them.
#pragma once

#include <gtest/gtest.h>

#include "tests/e2e/driver.h"

// A fresh folder, and the game in it once Start has entered the name.
class GameTest : public testing::Test {
protected:
    bool Start(const char* name = "Aoi")
    {
        return game.Start(folder) && (main = EnterGame(game, name)) != nullptr;
    }

    GameFolder folder;
    GameProcess game;
    HWND main = nullptr;
};

bool YesEndsWithZero(const GameProcess& game, HWND confirm);
void ExpectFigures(HWND goal, const GoalFigures& figures);
// Screenshots of a window (as on the screen) into <build>/e2e-artifacts.
void SaveScreenshot(HWND window, std::string_view name);

#include "base/game_state.h"

GameState game;

#include "app/game_state.h"

#include "course/hit_sound.h"
#include "course/phrase_table.h"
#include "records/best_file.h"
#include "records/history_file.h"

GameState game;

void PrepareGame()
{
    game.runActive = false;
    TakePhraseBackup();
    if (game.soundChoice == 0)
        ChooseDefaultHitSound();
    game.missCount = 0;
    game.hitCount = 0;
    game.keyCount = 0;
    game.accuracyPercent = 0.0;
    game.rankDialog = nullptr;  // so the loaders only fill their tables
    LoadHistory();
    LoadBest();
    game.phraseX = kPhraseStartX;
}

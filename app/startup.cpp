#include "app/startup.h"

#include <cstring>

#include "base/cp932.h"
#include "base/game_state.h"
#include "base/platform.h"
#include "course/hit_sound.h"
#include "course/phrase_table.h"
#include "records/best_file.h"
#include "records/history_file.h"

std::string_view FileNamePart(std::string_view path, bool (*isLeadByte)(unsigned char))
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '\\')
            start = i + 1;
        else if (isLeadByte(static_cast<unsigned char>(path[i])))
            ++i;
    }
    return path.substr(start);
}

int CopyIfFits(std::string_view name, char* destination, std::size_t capacity)
{
    if (name.size() + 1 > capacity)
        return 0;
    std::memcpy(destination, name.data(), name.size());
    destination[name.size()] = '\0';
    return static_cast<int>(name.size());
}

bool StorePlayerName(std::string_view typed)
{
    std::size_t length = FitCp932(typed, game.playerName.size() - 1);
    std::memcpy(game.playerName.data(), typed.data(), length);
    game.playerName[length] = '\0';
    return game.playerName[0] != '\0';
}

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

void ShutDownGame()
{
    ReleaseThreadHandle(game.soundThread);
    game.soundThread = nullptr;
    StopElapsedTimer();
    game.mainWindow = nullptr;
    game.instance = nullptr;
}

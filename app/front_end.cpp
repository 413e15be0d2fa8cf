#include "app/front_end.h"

#include <algorithm>
#include <cstring>

#include "app/cp932.h"
#include "app/game_state.h"

std::string_view FileNamePart(std::string_view path)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '\\')
            start = i + 1;
        else if (IsCp932LeadByte(static_cast<unsigned char>(path[i])))
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

void StorePlayerName(std::string_view typed)
{
    std::size_t length = FitCp932(typed, game.playerName.size() - 1);
    std::memcpy(game.playerName.data(), typed.data(), length);
    game.playerName[length] = '\0';
}

int ScrolledHistoryPos(int pos, int scrollCode, int thumbPos, int browseMax)
{
    const int last = browseMax + 1;
    switch (scrollCode) {
    case 0: return std::max(pos - 1, 1);    // SB_LINELEFT
    case 1: return std::min(pos + 1, last); // SB_LINERIGHT
    case 2: return std::max(pos - 5, 1);    // SB_PAGELEFT
    case 3: return std::min(pos + 5, last); // SB_PAGERIGHT
    case 4:                                 // SB_THUMBPOSITION
    case 5: return thumbPos;                // SB_THUMBTRACK
    default: return pos;
    }
}

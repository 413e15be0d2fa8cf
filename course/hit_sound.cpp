#include "course/hit_sound.h"

#include <string_view>

#include "base/game_state.h"

const std::array<HitSound, 6> kHitSounds{{
    {"バネバネー！", "bane.wav"},
    {"レーザーガンをぶっ放せ！", "raser.wav"},
    {"文字を倒せー！", "rock.wav"},
    {"ん？何の音？", "glass.wav"},
    {"ばきゅ～ん", "gun.wav"},
    {"ぼこぼこパンチ！", "punch.wav"},
}};

void SelectHitSound(int choice)
{
    if (choice < 1 || choice > static_cast<int>(kHitSounds.size()))
        return;
    game.soundChoice = choice;
    const std::string_view name = kHitSounds[choice - 1].fileName;
    game.soundFile = {};
    name.copy(game.soundFile.data(), game.soundFile.size() - 1);
}

void ChooseDefaultHitSound()
{
    SelectHitSound(1);
}

int SoundChoiceOf(int control)
{
    const int choice = control - IDC_SOUND_FIRST + 1;
    return choice >= 1 && choice <= static_cast<int>(kHitSounds.size()) ? choice : 0;
}

int ReselectHitSound()
{
    const int choice = game.soundChoice;
    if (choice < 1 || choice > static_cast<int>(kHitSounds.size()))
        return 0;
    SelectHitSound(choice);
    return choice;
}

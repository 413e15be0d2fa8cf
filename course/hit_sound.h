// The six hit sounds the player can choose from.
#pragma once

#include <array>

struct HitSound {
    const char* buttonText;
    const char* fileName;
};

// Row k (0 to 5) is sound choice k + 1; its button in the settings dialog has
// the id kFirstSoundButton + choice.
extern const std::array<HitSound, 6> kHitSounds;
constexpr int kFirstSoundButton = 1020;

// Makes `choice` (1 to 6) the current hit sound; other values change nothing.
void SelectHitSound(int choice);

// The sound in force when nothing was chosen yet: the first row.
void ChooseDefaultHitSound();

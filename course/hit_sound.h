// The six hit sounds the player can choose from.
#pragma once

#include <array>

struct HitSound {
    const char* buttonText;
    const char* fileName;
};

// Row k (0 to 5) is sound choice k + 1.
extern const std::array<HitSound, 6> kHitSounds;

// Makes `choice` (1 to 6) the current hit sound; other values change nothing.
void SelectHitSound(int choice);

// The sound in force when nothing was chosen yet: the first row.
void ChooseDefaultHitSound();

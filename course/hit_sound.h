// The six hit sounds the player can choose from.
#pragma once

#include <array>

#include "resources/resource.h"

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

// The sound settings dialog's button of choice 1 to 6, and the choice that a
// control of the dialog stands for: 0 for any control but the six buttons.
constexpr int SoundButton(int choice) { return IDC_SOUND_FIRST + choice - 1; }
int SoundChoiceOf(int control);

// As the settings dialog opens: the choice in force is made again. Returns
// it, for its button to show pressed in, or 0 when there is none.
int ReselectHitSound();

// The course: nine stages of eleven phrases and an end-of-stage slot each,
// then the final slot 108. The live table records progress: a slot's romaji
// moves forward one character per correct key.
#pragma once

#include <array>

#include "base/game_state.h"

using PhraseTable = std::array<PhraseEntry, kSlotCount>;
using PhraseBackup = std::array<PhraseEntry, kSlotCount - 1>;  // slots 0 to 107

extern PhraseTable phraseTable;
extern PhraseBackup phraseBackup;

// The course as built into the program, every romaji at its start.
extern const PhraseTable kCourse;

// Copies slots 0 to 107 of the live table into the backup.
void TakePhraseBackup();

// Puts the twelve slots of stage n (1 to 9) back from the backup.
void RestoreStage(int stage);

// First slot of stage n (1 to 9).
constexpr int FirstSlotOfStage(int stage) { return kSlotsPerStage * (stage - 1); }

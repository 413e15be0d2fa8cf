// Judging typed characters against the current phrase and timing the run.
#pragma once

// Judges the byte in `game.typedText` against the current slot. Returns 0 for
// a correct key or a slot without romaji, nonzero for a miss.
int MatchKeystroke();

// A character message of the main window; only the low byte is used.
void HandleCharacter(unsigned int characterCode);

// A tick of the elapsed-time timer: the title shows the run's milliseconds.
void HandleTimerTick();

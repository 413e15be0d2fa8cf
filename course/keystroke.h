// Judging typed characters against the current phrase and timing the run.
#pragma once

// Judges the byte in `game.typedText` against the current slot. Returns 0 for
// a correct key or a slot without romaji, nonzero for a miss.
int MatchKeystroke();

// A character message of the main window; only the low byte is used.
// Returns true when the key ended a stage: the run's timer is stopped and the
// front end opens the goal dialog now, as the last thing this key does.
bool HandleCharacter(unsigned int characterCode);

// A tick of the elapsed-time timer: the title shows the run's milliseconds.
void HandleTimerTick();

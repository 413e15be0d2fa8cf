// What the portable game core needs from the platform in the middle of a step.
// The Windows layer implements these; the unit tests supply a recording version
// of everything but the record files, which they exercise for real.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "game_state.h"

// The elapsed-time timer of a run (50 ms ticks into the keystroke engine).
void StartElapsedTimer();
void StopElapsedTimer();

// Milliseconds since an arbitrary start; wraps around after 2^32.
uint32_t CurrentTick();

void SetMainWindowTitle(const char* text);

// Asks for the whole main window to be repainted, background erased.
void RequestRepaint();

// Starts a thread that begins playing `game.soundFile` and returns its handle
// (nullptr when it could not be started).
NativeHandle StartHitSound();
void ReleaseThreadHandle(NativeHandle thread);

// Runs the goal dialog modally; returns when the player has closed it.
void RunGoalDialog();

// Sends the close request to the main window, which asks the player.
// Returns true when the player agreed and the program is shutting down.
bool SendCloseRequest();

enum class RecordFile { History, Best };

// The one place the two file names are spelled.
constexpr const char* RecordFileName(RecordFile file)
{
    return file == RecordFile::History ? "Rank.dat" : "Best.dat";
}

// What reading a record file found.
enum class ReadResult {
    Read,        // the whole file is in `bytes`
    Missing,     // no such file (or no such folder): an empty record
    Unreadable,  // it is there but could not be read now: held open by
                 // another program, not permitted, a folder, or too large
};

// Reads the whole record file into `bytes` (empty unless Read). The file is
// opened for reading only and shared with every other opener, so another
// reader or the read-only attribute does not keep the game from it.
ReadResult ReadRecordFile(RecordFile file, std::vector<unsigned char>& bytes, std::size_t maxBytes);

// Replaces the record file with `bytes` in one step: the new contents are
// written beside the old file and then moved over it, so a failed or cut-off
// save leaves the previous file whole. A read-only file is never replaced.
// Returns false when the bytes did not reach the disk.
bool ReplaceRecordFile(RecordFile file, const std::vector<unsigned char>& bytes);

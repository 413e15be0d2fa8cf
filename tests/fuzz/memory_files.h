// The record files kept in memory for the fuzz targets: quick, and nothing
// left on disk between runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "records/record_store.h"

struct MemoryFile {
    bool exists = false;
    std::vector<unsigned char> bytes;
};

MemoryFile& MemoryFileOf(RecordFile file);

// Puts the fuzz input in place as the file and the game back to its start.
void StartWithFile(RecordFile file, const uint8_t* data, std::size_t size);

// A broken promise aborts, and libFuzzer keeps the input that broke it.
void Require(bool condition);

// Loads the input's last 16 bytes, when there are so many, as the counters
// and ticks of a run, and its first bytes as the player's name.
void RunFromInput(const uint8_t* data, std::size_t size);

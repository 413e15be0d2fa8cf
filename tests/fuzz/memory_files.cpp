#include "tests/fuzz/memory_files.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "tests/fake_platform.h"

namespace {

MemoryFile files[2];

} // namespace

MemoryFile& MemoryFileOf(RecordFile file)
{
    return files[file == RecordFile::History ? 0 : 1];
}

void StartWithFile(RecordFile file, const uint8_t* data, std::size_t size)
{
    ResetGame();
    files[0] = files[1] = MemoryFile{};
    MemoryFileOf(file) = {true, std::vector<unsigned char>(data, data + size)};
}

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

void RunFromInput(const uint8_t* data, std::size_t size)
{
    std::size_t nameBytes = std::min(size, game.playerName.size() - 1);
    std::memcpy(game.playerName.data(), data, nameBytes);
    if (size < 16)
        return;
    const uint8_t* run = data + size - 16;
    std::memcpy(&game.keyCount, run, 4);
    std::memcpy(&game.hitCount, run + 4, 4);
    std::memcpy(&game.startTick, run + 8, 4);
    std::memcpy(&game.lastTick, run + 12, 4);
}

ReadResult ReadRecordFile(RecordFile file, std::vector<unsigned char>& bytes, std::size_t maxBytes)
{
    const MemoryFile& memory = MemoryFileOf(file);
    bytes.clear();
    if (!memory.exists)
        return ReadResult::Missing;
    if (memory.bytes.size() > maxBytes)
        return ReadResult::Unreadable;
    bytes = memory.bytes;
    return ReadResult::Read;
}

ReplaceResult ReplaceRecordFile(RecordFile file, const std::vector<unsigned char>& bytes)
{
    MemoryFileOf(file) = {true, bytes};
    return ReplaceResult::Replaced;
}

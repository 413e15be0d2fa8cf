// The one process-wide record of game state, shared by every subsystem and
// changed only on the message-loop thread. Portable: window-system handles are
// kept as opaque pointers that only the Windows code looks inside.
#pragma once

#include <array>
#include <cstdint>
#include <string>

using NativeHandle = void*;

// One slot of the course. `romaji` is the rest of the phrase still to type,
// or nullptr for an end-of-stage slot; `caption` is the Japanese text above it.
struct PhraseEntry {
    const char* romaji;
    const char* caption;
};

// One stage result: a NUL-terminated CP932 text of six lines in 80 bytes.
struct HistoryRecord {
    std::array<char, 80> text;
};

// One best-score entry: a NUL-terminated CP932 name in 50 bytes and the points.
// On disk it is 54 bytes with the points little-endian at byte 50.
struct BestRecord {
    std::array<char, 50> name;
    int32_t points;
};

constexpr int kSlotCount = 109;         // nine stages of twelve slots, then slot 108
constexpr int kSlotsPerStage = 12;
constexpr int kStageCount = 9;
constexpr int kFinalSlot = 108;
constexpr int kHistoryCapacity = 255;   // record 0 and up to 254 results
constexpr int kBestCapacity = 255;
constexpr int kPhraseStartX = 180;

struct GameState {
    NativeHandle instance = nullptr;
    NativeHandle mainWindow = nullptr;
    NativeHandle windowRegion = nullptr;
    std::array<char, 100> playerName{};
    int32_t soundChoice = 0;
    std::array<char, 100> soundFile{};
    int32_t entryIndex = 0;
    int32_t phraseX = kPhraseStartX;
    bool runActive = false;
    int32_t missCount = 0;
    int32_t hitCount = 0;
    int32_t keyCount = 0;
    uint32_t startTick = 0;
    uint32_t lastTick = 0;
    std::array<char, 100> typedText{};
    NativeHandle soundThread = nullptr;
    double accuracyPercent = 0.0;
    int32_t score = 0;
    // What the goal dialog showed of the last result recorded since start-up:
    // its title and five statistics, empty before the first. A key on the
    // end-of-stage slot after resting brings them back.
    std::string goalTitle;
    std::array<std::string, 5> goalStatistics;
    int32_t historyCount = 0;
    int32_t historyBrowseMax = 0;
    std::array<HistoryRecord, kHistoryCapacity> historyTexts{};
    int32_t bestCount = 0;
    std::array<BestRecord, kBestCapacity> bestTable{};
    // A record file that exists but could not be read at its last load: the
    // game never replaces it, so the results it holds are not lost.
    bool historyFileUnreadable = false;
    bool bestFileUnreadable = false;
    NativeHandle rankDialog = nullptr;
    NativeHandle historyLabel = nullptr;
    NativeHandle historyFont = nullptr;
    int32_t historyPos = 1;
};

extern GameState game;

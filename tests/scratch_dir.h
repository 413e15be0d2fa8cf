// Tests of the record files run in a fresh, empty current directory of their
// own, since the game keeps Rank.dat and Best.dat in the current directory.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fake_platform.h"

using Bytes = std::vector<unsigned char>;

class ScratchDirTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGame();
        dir_ = std::filesystem::temp_directory_path() / ("keyhaven-test-" + std::to_string(std::random_device()()));
        ASSERT_TRUE(std::filesystem::create_directory(dir_));
        std::filesystem::current_path(dir_);
    }

    void TearDown() override
    {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

private:
    std::filesystem::path previous_ = std::filesystem::current_path();
    std::filesystem::path dir_;
};

inline Bytes ReadBytes(const char* name)
{
    std::ifstream file(name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const char* name, const Bytes& bytes)
{
    std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

inline void AppendLe32(Bytes& bytes, int32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<unsigned char>(static_cast<uint32_t>(value) >> (8 * i)));
}

// `text` padded with zero bytes (or cut) to `size` bytes.
inline void AppendField(Bytes& bytes, std::string_view text, std::size_t size)
{
    text = text.substr(0, size);
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.resize(bytes.size() + size - text.size());
}

// A Rank.dat image: the count, record 0, then one record per text.
inline Bytes RankFile(int32_t count, std::string_view record0, std::initializer_list<std::string_view> texts)
{
    Bytes bytes;
    AppendLe32(bytes, count);
    AppendField(bytes, record0, 80);
    for (std::string_view text : texts)
        AppendField(bytes, text, 80);
    return bytes;
}

// An entry of the best table, as a test writes and compares it.
struct Entry {
    std::string name;
    int32_t points;
    bool operator==(const Entry&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Entry& e) { return out << e.name << ' ' << e.points; }
};
using Entries = std::vector<Entry>;

// A Best.dat image: the count, then the entries.
inline Bytes BestFile(int32_t count, const Entries& entries)
{
    Bytes bytes;
    AppendLe32(bytes, count);
    for (const Entry& entry : entries) {
        AppendField(bytes, entry.name, 50);
        AppendLe32(bytes, entry.points);
    }
    return bytes;
}

// Bytes that mean nothing: what a damaged disk or another program may leave.
inline Bytes Noise(std::size_t size, uint32_t seed)
{
    std::mt19937 random(seed);
    Bytes bytes(size + 3);
    for (std::size_t i = 0; i < size; i += 4) {
        const uint32_t word = random();
        std::memcpy(&bytes[i], &word, 4);
    }
    bytes.resize(size);
    return bytes;
}

inline void SetPlayerName(std::string_view name)
{
    game.playerName = {};
    name.copy(game.playerName.data(), game.playerName.size() - 1);
}

// A terminated text in a fixed field; the whole field when it has no terminator.
template <std::size_t N>
std::string_view TextOf(const std::array<char, N>& text)
{
    return {text.data(), static_cast<std::size_t>(std::find(text.begin(), text.end(), '\0') - text.begin())};
}

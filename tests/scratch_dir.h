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
#include <iterator>
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
        previous_ = std::filesystem::current_path();
        std::random_device random;
        dir_ = std::filesystem::temp_directory_path() / ("keyhaven-test-" + std::to_string(random()));
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
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};

inline Bytes ReadBytes(const char* name)
{
    std::ifstream file(name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const char* name, const Bytes& bytes)
{
    std::ofstream file(name, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void AppendLe32(Bytes& bytes, int32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<unsigned char>(static_cast<uint32_t>(value) >> (8 * i)));
}

// `text` padded with zero bytes (or cut) to `size` bytes.
inline void AppendField(Bytes& bytes, std::string_view text, std::size_t size)
{
    std::string field(text.substr(0, size));
    field.resize(size, '\0');
    bytes.insert(bytes.end(), field.begin(), field.end());
}

// Bytes that mean nothing: what a damaged disk or another program may leave.
inline Bytes Noise(std::size_t size, uint32_t seed)
{
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; i += 4) {
        uint32_t word = random();
        std::memcpy(&bytes[i], &word, std::min<std::size_t>(4, size - i));
    }
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
    auto end = std::find(text.begin(), text.end(), '\0');
    return {text.data(), static_cast<std::size_t>(end - text.begin())};
}

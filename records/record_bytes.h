// Little-endian integers and record counts of Rank.dat and Best.dat.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr std::size_t kCountBytes = 4;

inline int32_t ReadInt32Le(const unsigned char* bytes)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return static_cast<int32_t>(value);
}

inline void AppendInt32Le(std::vector<unsigned char>& bytes, int32_t value)
{
    uint32_t bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<unsigned char>(bits >> (8 * i)));
}

// The count at the head of a record file; an empty file counts 0.
inline int32_t ReadRecordCount(const std::vector<unsigned char>& bytes)
{
    return bytes.size() < kCountBytes ? 0 : ReadInt32Le(bytes.data());
}

// Whole records of `recordBytes` after the count.
inline std::size_t WholeRecords(const std::vector<unsigned char>& bytes, std::size_t recordBytes)
{
    return bytes.size() < kCountBytes ? 0 : (bytes.size() - kCountBytes) / recordBytes;
}

// How many records a file holds by its count, believed only as far as the
// file bears it out: never more than the whole records `present`. A negative
// count says nothing, so every whole record present counts.
inline std::size_t CountedRecords(int32_t count, std::size_t present)
{
    return count < 0 ? present : std::min<std::size_t>(static_cast<uint32_t>(count), present);
}

// Whether a file holds exactly `records` whole records after its count, as
// the game writes its files; nothing less, nothing more.
inline bool HoldsExactly(const std::vector<unsigned char>& bytes, int64_t records, std::size_t recordBytes)
{
    return bytes.size() >= kCountBytes && records >= 0 &&
           bytes.size() - kCountBytes == static_cast<uint64_t>(records) * recordBytes;
}

// Larger record files are left alone as unreadable rather than read into
// memory: a full Rank.dat is 20 KB, a full Best.dat 14 KB.
constexpr std::size_t kMaxRecordFileBytes = 16 * 1024 * 1024;

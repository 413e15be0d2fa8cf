// Cutting Shift-JIS (code page 932) text without splitting a two-byte character.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

constexpr bool IsCp932LeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Length of the longest prefix of `text` that is at most `maxBytes` long and
// ends on a character boundary.
constexpr std::size_t FitCp932(std::string_view text, std::size_t maxBytes)
{
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t width = IsCp932LeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
        if (end + width > maxBytes)
            break;
        end += width;
    }
    return end < text.size() ? end : text.size();
}

// Makes sure a fixed-size text field ends within itself: a text that fills
// the whole field is cut on a character boundary.
inline void TerminateWithin(char* field, std::size_t size)
{
    if (std::memchr(field, 0, size) == nullptr)
        field[FitCp932({field, size}, size - 1)] = '\0';
}

// What the main window shows: the rest of the current romaji, its caption and
// the key help, each in a font of its own. Portable: the Windows program draws
// it with GDI and the page on a canvas, both from this one description.
#pragma once

#include <array>
#include <cstdint>

struct PictureText {
    int x;  // client coordinates of the text's top-left corner
    int y;
    const char* text;  // nullptr draws nothing
};

// A font and the texts drawn in it.
struct PictureLayer {
    int fontHeight;   // cell height in pixels
    int fontWeight;   // 400 normal, 700 bold
    uint32_t colour;  // 0x00BBGGRR, as Windows writes colours
    std::array<PictureText, 2> texts;
};

// One paint of the main window, in drawing order: the romaji, the caption and
// the two help lines. The romaji drifts 5 pixels right on every paint, until a
// new phrase puts it back.
std::array<PictureLayer, 3> PaintMainPicture();

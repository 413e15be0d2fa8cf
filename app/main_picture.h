// What the main window shows: the rest of the current romaji, its caption and
// the key help, each in a font of its own. Portable: the Windows program draws
// it with GDI and the page on a canvas, both from this one description.
#pragma once

#include <array>
#include <cstdint>

// The part of the main window that shows, in window coordinates: an ellipse
// below the caption and menu bars, which lie outside it.
struct WindowEllipse {
    int left, top, right, bottom;
};
inline constexpr WindowEllipse kMainEllipse{10, 50, 845, 600};

// A right click opens the popup menu at the click's client position moved
// this far right and down, taken as a position on the screen as it stands.
struct MenuOffset {
    int x, y;
};
inline constexpr MenuOffset kPopupMenuOffset{150, 180};

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

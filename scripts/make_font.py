#!/usr/bin/python3
"""Writes the Japanese fonts that stand in for ＭＳ Ｐゴシック under Wine.

They are IPA's proportional Gothic with two changes:
- its em is made as tall as its Windows line (2203 units, up from 2048), so
  that a 9-point dialog font is 12 pixels tall as with ＭＳ Ｐゴシック and
  the dialogs come out at their designed size. The line itself stays, since
  Windows and Wine clip what is drawn outside it; so the outlines come out
  7 % smaller at a given point size and the same at a given cell height;
- a bold face of its own, each outline drawn twice side by side as Windows
  overstrikes a font without one. Without it Wine thickens the outlines up
  and down too, which closes the gap of a small ！ into a bar.
As the IPA font licence asks of a derived font, the family has a name of its own.

    make_font.py FONTS_FOLDER
"""

import os
import sys

from fontTools.ttLib import TTFont

SOURCE = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"
FAMILY = "Keyhaven PGothic"
OVERSTRIKE = 100  # units of 2203: about a pixel of the game's 18-pixel bold text


def derive(style):
    font = TTFont(SOURCE)
    os2 = font["OS/2"]
    font["head"].unitsPerEm = os2.usWinAscent + os2.usWinDescent

    if style == "Bold":
        os2.usWeightClass = 700
        os2.fsSelection = (os2.fsSelection & ~0x40) | 0x20  # bold, not regular
        font["head"].macStyle |= 1
        glyphs, metrics = font["glyf"], font["hmtx"]
        for name in font.getGlyphOrder():
            glyph = glyphs[name]
            if glyph.numberOfContours > 0:  # no composites in this font
                copy = glyph.coordinates.copy()
                copy.translate((OVERSTRIKE, 0))
                points = len(glyph.coordinates)
                glyph.coordinates.extend(copy)
                glyph.flags.extend(glyph.flags)
                glyph.endPtsOfContours += [end + points for end in glyph.endPtsOfContours]
                glyph.numberOfContours *= 2
                glyph.program.fromBytecode(b"")  # the hints know only the first outline
            width, left = metrics[name]
            metrics[name] = (width + OVERSTRIKE, left)
        for table in ("fpgm", "prep", "cvt "):
            del font[table]

    # Every name that says which font this is, in every language, becomes the new one.
    names = font["name"]
    names.names = [n for n in names.names if n.nameID not in (1, 2, 3, 4, 6, 16, 17, 18, 21, 22)]
    full = FAMILY + " " + style
    for name_id, text in ((1, FAMILY), (2, style), (3, full), (4, full),
                          (6, FAMILY.replace(" ", "") + "-" + style)):
        names.setName(text, name_id, 3, 1, 0x409)
        names.setName(text, name_id, 1, 0, 0)
    return font


for style in ("Regular", "Bold"):
    derive(style).save(os.path.join(sys.argv[1], "keyhaven-pgothic-" + style.lower() + ".ttf"))

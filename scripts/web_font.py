#!/usr/bin/python3
"""Writes the page's fonts: Keyhaven PGothic (scripts/make_font.py), regular
and bold, as WOFF2 cut down to the characters of the game's texts, that is to
every character of the given files, printable ASCII and the half-width
katakana. A name with other characters takes them from the system's fonts.

    web_font.py OUT_FOLDER --regular FILE... --bold FILE...
"""

import os
import subprocess
import sys
import tempfile

from fontTools.subset import Options, Subsetter
from fontTools.ttLib import TTFont

ALWAYS = "".join(chr(c) for c in range(0x20, 0x7F)) + "".join(chr(c) for c in range(0xFF61, 0xFFA0))


def characters(files):
    text = set(ALWAYS)
    for name in files:
        with open(name, encoding="utf-8") as file:
            text |= {c for c in file.read() if c.isprintable()}
    return "".join(sorted(text))


def main(out, arguments):
    styles, style = {}, None
    for argument in arguments:
        if argument in ("--regular", "--bold"):
            style = styles.setdefault(argument[2:], [])
        else:
            style.append(argument)
    make_font = os.path.join(os.path.dirname(os.path.abspath(__file__)), "make_font.py")
    with tempfile.TemporaryDirectory() as fonts:
        subprocess.run([sys.executable, make_font, fonts], check=True)
        for name, files in styles.items():
            # The same sources give the same bytes, whenever they are built: the
            # service worker's version is a hash of the site's files.
            font = TTFont(os.path.join(fonts, f"keyhaven-pgothic-{name}.ttf"), recalcTimestamp=False)
            font["head"].modified = font["head"].created
            options = Options()
            options.flavor = "woff2"
            subsetter = Subsetter(options)
            subsetter.populate(text=characters(files))
            subsetter.subset(font)
            font.flavor = "woff2"
            font.save(os.path.join(out, f"keyhaven-pgothic-{name}.woff2"))


main(sys.argv[1], sys.argv[2:])

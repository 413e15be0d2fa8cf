#!/usr/bin/python3
"""Writes a copy of a UTF-8 C++ source whose narrow literals hold code page 932.

GCC and MSVC are told to write every narrow literal in code page 932; the
clang of Emscripten writes them only as UTF-8. So the web build compiles
copies of the sources in which each non-ASCII character of a plain string or
character literal is spelt as octal escapes of its CP932 bytes ("あ" becomes
"\\202\\240"). An octal escape ends after three digits, so it never swallows
the character after it, as a \\x escape would. Everything else is copied as it
is: comments, u8"", u"", U"" and L"" literals, and a first line #line that
points the compiler's messages at the original file.

    cp932_literals.py SOURCE COPY
"""

import os
import sys


def escaped(character):
    try:
        data = character.encode("cp932")
    except UnicodeEncodeError:
        raise SystemExit(f"{sys.argv[1]}: {character!r} has no code page 932 form")
    return "".join(f"\\{byte:03o}" for byte in data)


def convert(text):
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
        elif text.startswith("/*", i):
            end = text.index("*/", i + 2) + 2
        elif c in "\"'":
            # The identifier just before the quote: an encoding prefix, or part of a
            # number whose digits a ' separates (1'000).
            j = i
            while j > 0 and (text[j - 1].isalnum() or text[j - 1] == "_"):
                j -= 1
            prefix = text[j:i]
            if c == "'" and prefix and prefix not in ("u8", "u", "U", "L"):
                out.append(c)
                i += 1
                continue
            if c == '"' and prefix.endswith("R"):
                raise SystemExit(f"{sys.argv[1]}: raw string literals are not supported")
            end = i + 1
            while text[end] != c:
                end += 2 if text[end] == "\\" else 1
            end += 1
            literal = text[i:end]
            if not prefix:
                literal = "".join(escaped(ch) if ord(ch) > 0x7F else ch for ch in literal)
            out.append(literal)
            i = end
            continue
        else:
            end = i + 1
        out.append(text[i:end])
        i = end
    return "".join(out)


source, copy = sys.argv[1], sys.argv[2]
with open(source, encoding="utf-8") as file:
    text = file.read()
os.makedirs(os.path.dirname(copy), exist_ok=True)
with open(copy, "w", encoding="utf-8") as file:
    file.write(f'#line 1 "{source}"\n' + convert(text))

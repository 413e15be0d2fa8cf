#!/usr/bin/python3
"""Writes the page's copy of the game's dialogs, popup menu and function keys,
read out of the resource script, so that they are written once, for Windows.

Each dialog keeps its title and whether it has a close box, and each control
its id, kind, text and rectangle; a picture control names the file of its
bitmap. The popup menu is the first popup of the menu, each item its text
and command, or a separator. Rectangles are turned from dialog units into
pixels with the base units of the dialogs' 9-point font, 7 by 12 pixels (the
stand-in font's, and ＭＳ Ｐゴシック's): x * 7 / 4 and y * 12 / 8, rounded as
Windows rounds them. The ids of resource.h come along by name.

    rc_to_js.py RESOURCE_SCRIPT RESOURCE_HEADER OUTPUT_JS
"""

import json
import re
import sys

BASE_X, BASE_Y = 7, 12


def mul_div(value, numerator, denominator):
    return (value * numerator + denominator // 2) // denominator


def tokens(statement):
    """The comma-separated fields of a statement; strings come back unquoted."""
    fields, i = [], 0
    while i < len(statement):
        c = statement[i]
        if c == '"':
            text, i = [], i + 1
            while True:
                if statement.startswith('""', i):
                    text.append('"')
                    i += 2
                elif statement[i] == '"':
                    i += 1
                    break
                elif statement[i] == "\\":
                    text.append({"n": "\n", "t": "\t", "\\": "\\"}[statement[i + 1]])
                    i += 2
                else:
                    text.append(statement[i])
                    i += 1
            fields.append(("string", "".join(text)))
        elif c == ",":
            i += 1
        elif c.isspace():
            i += 1
        else:
            end = statement.find(",", i)
            end = len(statement) if end < 0 else end
            fields.append(("word", statement[i:end].strip()))
            i = end
    return fields


def main(rc_path, header_path, out_path):
    ids = {}
    for name, value in re.findall(r"^#define\s+(\w+)\s+(\d+)\s*$", open(header_path).read(), re.M):
        ids[name] = int(value)
    rc = open(rc_path, encoding="utf-8").read()
    flags = {name: set(re.findall(r"\w+", body))
             for name, body in re.findall(r"^#define\s+(\w+)\s+\((.*)\)\s*$", rc, re.M)}

    def number(expression):
        return sum(ids.get(term.strip()) if term.strip() in ids else int(term)
                   for term in expression.split("+"))

    bitmaps = dict(re.findall(r'^(\w+) BITMAP "(.*)"$', rc, re.M))

    dialogs = {}
    for name, kind, size, head, body in re.findall(
            r"^(\w+) (DIALOGEX|DIALOG) (.*)\n((?:(?!BEGIN).*\n)*)BEGIN\n((?:(?!END).*\n)*)END", rc, re.M):
        width, height = (int(v) for v in size.split(",")[2:4])
        style = re.search(r"^STYLE (\w+)", head, re.M).group(1)
        caption = re.search(r'^CAPTION (".*")', head, re.M)
        controls = []
        for statement in re.split(r"^\s*CONTROL\s+", body, flags=re.M)[1:]:
            fields = tokens(" ".join(line.strip() for line in statement.splitlines()))
            text, control_id, window_class, control_style = (f[1] for f in fields[:4])
            x, y, w, h = (int(f[1]) for f in fields[4:8])
            extended = fields[8][1] if len(fields) > 8 else ""
            style_flags = flags[control_style]
            if window_class == "BUTTON":
                kind = "radio" if "BS_AUTORADIOBUTTON" in style_flags else "button"
            else:
                kind = {"EDIT": "edit", "STATIC": "text"}[window_class]
                if "SS_BITMAP" in style_flags:
                    kind, text = "bitmap", bitmaps[text]
            control = {"id": number(control_id), "kind": kind, "text": text,
                       "x": mul_div(x, BASE_X, 4), "y": mul_div(y, BASE_Y, 8),
                       "width": mul_div(w, BASE_X, 4), "height": mul_div(h, BASE_Y, 8)}
            if "BS_DEFPUSHBUTTON" in style_flags:
                control["default"] = True
            if extended == "WS_EX_RIGHT":
                control["right"] = True
            controls.append(control)
        dialogs[name] = {"title": tokens(caption.group(1))[0][1] if caption else "",
                         "closeBox": "WS_SYSMENU" in flags[style],
                         "width": mul_div(width, BASE_X, 4), "height": mul_div(height, BASE_Y, 8),
                         "controls": controls}

    popup = re.search(r"^\w+ MENU\nBEGIN\n\s*POPUP .*\n\s*BEGIN\n((?:(?!\s*END).*\n)*)", rc, re.M).group(1)
    menu = [{"separator": True} if item == "SEPARATOR" else
            {"text": tokens(item)[0][1], "command": ids[tokens(item)[1][1]]}
            for item in re.findall(r"^\s*MENUITEM (.*)$", popup, re.M)]

    accelerators = {key[3:]: ids[command] for key, command in
                    re.findall(r"^\s*(VK_F\d+),\s*(\w+),\s*VIRTKEY", rc, re.M)}

    with open(out_path, "w", encoding="utf-8") as out:
        out.write("// Made by scripts/rc_to_js.py from resources/keyhaven.rc and resource.h.\n")
        for name, value in (("ids", ids), ("dialogs", dialogs), ("menu", menu), ("accelerators", accelerators)):
            text = json.dumps(value, ensure_ascii=False, separators=(",", ":"))
            out.write(f"export const {name} = {text};\n")


main(*sys.argv[1:])

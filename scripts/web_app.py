#!/usr/bin/env python3
"""Writes what makes the site an app: the web app manifest, and the service
worker with the list of the site's files and the version they make.

    web_app.py manifest OUTPUT PAGE_CSS
        manifest.webmanifest: the names, the page's colours (its background in
        PAGE_CSS), the icons that make_art.py draws.
    web_app.py worker TEMPLATE SITE FILE...
        SITE/sw.js: TEMPLATE after the version and the files, each FILE (in
        SITE) with the SHA-256 of its bytes; the version is a hash of them all.
"""

import base64
import hashlib
import json
import os
import re
import sys


def write_manifest(output, page_css):
    with open(page_css, encoding="utf-8") as f:
        colour = re.search(r"^body\s*\{[^}]*?\bbackground:\s*(#[0-9a-fA-F]{3,6})\s*;", f.read(), re.M | re.S)
    if not colour:
        sys.exit(f"{page_css}: no background colour in the body's rule")
    manifest = {
        "name": "ぱたたん",
        "short_name": "ぱたたん",
        "description": "緑色のローマ字を打って進む、九つのステージのタイピングゲーム。記録はこのブラウザに残り、ネットがなくても遊べます。",
        "lang": "ja",
        "dir": "ltr",
        "id": "./",
        "start_url": "./",
        "scope": "./",
        "display": "standalone",
        "theme_color": colour.group(1),
        "background_color": colour.group(1),
        "icons": [
            {"src": "icon-192.png", "sizes": "192x192", "type": "image/png", "purpose": "any"},
            {"src": "icon-512.png", "sizes": "512x512", "type": "image/png", "purpose": "any"},
            {"src": "icon-512.png", "sizes": "512x512", "type": "image/png", "purpose": "maskable"},
        ],
    }
    with open(output, "w", encoding="utf-8", newline="\n") as f:
        json.dump(manifest, f, ensure_ascii=False, indent=2)
        f.write("\n")


def write_worker(template, site, files):
    hashes = {}
    for path in sorted(files, key=lambda p: os.path.relpath(p, site)):
        name = os.path.relpath(path, site).replace(os.sep, "/")
        if name == "sw.js" or name.startswith(".."):
            sys.exit(f"{path}: not a file of the site for the worker to keep")
        with open(path, "rb") as f:
            hashes[name] = base64.b64encode(hashlib.sha256(f.read()).digest()).decode()
    version = hashlib.sha256("".join(f"{n}\0{h}\n" for n, h in hashes.items()).encode()).hexdigest()[:16]
    with open(template, encoding="utf-8") as f:
        body = f.read()
    head = ("// Written by scripts/web_app.py from web/service_worker.js: the build's\n"
            "// version and every file of the site with the SHA-256 of its bytes.\n"
            f"const VERSION = {json.dumps(version)};\n"
            f"const FILES = {json.dumps(hashes, indent=2)};\n\n")
    with open(os.path.join(site, "sw.js"), "w", encoding="utf-8", newline="\n") as f:
        f.write(head + body)


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "manifest":
        write_manifest(sys.argv[2], sys.argv[3])
    elif len(sys.argv) >= 4 and sys.argv[1] == "worker":
        write_worker(sys.argv[2], sys.argv[3], sys.argv[4:])
    else:
        sys.exit(__doc__)

#!/usr/bin/env python3
"""Writes the browser edition as one self-contained HTML file.

The page of the static folder, with everything it loads put inside it: the style sheets (the
fonts are already inline in fonts.css), the logo and the icon as data URLs, the page script (as
the build shortened it), and the module's script with its WebAssembly, which travels
gzip-compressed and base64-encoded and is unpacked by the browser's own DecompressionStream
before the module starts. Such a file needs no
network and no server: it works opened from disk, from any static host and inside an iframe. The
folder's manifest and service worker have no use there and are left out.
"""

import argparse
import base64
import gzip
import pathlib
import re
import sys


def data_url(path: pathlib.Path, media_type: str) -> str:
    return f"data:{media_type};base64,{base64.b64encode(path.read_bytes()).decode('ascii')}"


def inline_script(text: str) -> str:
    # Inside <script>, "</script" (in any case) ends the element and "<!--" changes how the rest
    # is read; no script of the page holds either, and one that came to would be refused here
    # rather than broken silently.
    if re.search(r"</script|<!--", text, flags=re.IGNORECASE):
        raise ValueError("a script holds </script or <!--")
    return f"<script>\n{text}\n</script>"


def inline_style(text: str) -> str:
    if re.search(r"</style", text, flags=re.IGNORECASE):
        raise ValueError("a style sheet holds </style")
    return f"<style>\n{text}\n</style>"


def replace_once(page: str, old: str, new: str) -> str:
    if page.count(old) != 1:
        raise ValueError(f"the page should hold {old!r} exactly once")
    return page.replace(old, new)


def build(page: str, site: pathlib.Path, module: str, wasm: bytes, script: str) -> str:
    page = replace_once(page, '<link rel="manifest" href="manifest.webmanifest">\n', "")
    page = replace_once(page, 'href="icon-32.png"', f'href="{data_url(site / "icon-32.png", "image/png")}"')
    page = replace_once(page, 'data-logo="logo.png"', f'data-logo="{data_url(site / "logo.png", "image/png")}"')
    for sheet in ("fonts.css", "style.css"):
        page = replace_once(page, f'<link rel="stylesheet" href="{sheet}">',
                            inline_style((site / sheet).read_text(encoding="utf-8")))
    # mtime=0: the same build writes the same bytes.
    packed = base64.b64encode(gzip.compress(wasm, compresslevel=9, mtime=0)).decode("ascii")
    # The browser's own decoder where it has one; elsewhere the bytes are copied out of the
    # decoded text in a plain loop (Uint8Array.from with a function per byte costs tens of
    # milliseconds of the start).
    unpack = (
        "window.bitwatchWasm = (() => {\n"
        f'  const packed = "{packed}";\n'
        "  let bytes;\n"
        "  if (typeof Uint8Array.fromBase64 === \"function\") {\n"
        "    bytes = Uint8Array.fromBase64(packed);\n"
        "  } else {\n"
        "    const text = atob(packed);\n"
        "    bytes = new Uint8Array(text.length);\n"
        "    for (let i = 0; i < text.length; i++) {\n"
        "      bytes[i] = text.charCodeAt(i);\n"
        "    }\n"
        "  }\n"
        "  return new Response(new Blob([bytes]).stream().pipeThrough(new DecompressionStream(\"gzip\"))).arrayBuffer();\n"
        "})();"
    )
    page = replace_once(page, '<script src="bitwatch.js"></script>', inline_script(unpack) + "\n" + inline_script(module))
    page = replace_once(page, '<script src="page.js"></script>', inline_script(script))
    return page


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--page", type=pathlib.Path, required=True, help="the folder's index.html")
    parser.add_argument("--site", type=pathlib.Path, required=True, help="the built static folder")
    parser.add_argument("--module", type=pathlib.Path, required=True, help="the module's script")
    parser.add_argument("--wasm", type=pathlib.Path, required=True, help="the module's WebAssembly")
    parser.add_argument("--script", type=pathlib.Path, required=True, help="the page script to carry")
    parser.add_argument("--output", type=pathlib.Path, required=True)
    options = parser.parse_args()
    try:
        page = build(options.page.read_text(encoding="utf-8"), options.site,
                     options.module.read_text(encoding="utf-8"), options.wasm.read_bytes(),
                     options.script.read_text(encoding="utf-8"))
    except (OSError, ValueError) as error:
        print(f"make-one-file.py: {error}", file=sys.stderr)
        return 1
    temporary = options.output.with_suffix(".html.new")
    temporary.write_text(page, encoding="utf-8")
    temporary.replace(options.output)
    return 0


if __name__ == "__main__":
    sys.exit(main())

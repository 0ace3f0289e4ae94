#!/usr/bin/env python3
"""Checks every include of the product against the layers' table: a file may include the headers
of its own layer and of the layers it links, never one above it. The table is the one in
CODING_GUIDELINES.md and the targets' links in CMake. Exits 1 naming each include against the
grain; 2 when a product file belongs to no layer (the table must then say where it goes)."""

import pathlib
import re
import sys

# Each layer and the layers it may include, its own included.
LINKS = {
    "core": {"core"},
    "channel": {"core", "channel"},
    "odds": {"core", "odds"},
    "window": {"core", "channel", "window"},
    "companion": {"core", "channel", "odds", "companion"},
    "stats": {"core", "channel", "odds", "stats"},
    "widgets": {"core", "channel", "odds", "window", "companion", "widgets"},
    "web": {"core", "channel", "odds", "window", "companion", "web"},
    "app": {"core", "channel", "odds", "window", "companion", "stats", "widgets", "app"},
    "tools": {"core", "odds", "tools"},
}

# The exact odds without threads (stats/ below the runner): what the companion may use.
ODDS = {"beta", "built_shares", "code_shape", "exact", "exact_models", "intervals", "known_odds",
        "running_check"}
COMPANION = {"companion", "verdict_fact"}


def layer_of(path: str):
    parts = pathlib.PurePosixPath(path).parts
    stem = pathlib.PurePosixPath(path).stem
    top = parts[0]
    if path.startswith("ui/widgets/"):
        return "widgets"
    if top == "ui":
        if stem == "controls":
            return "core"
        return "companion" if stem in COMPANION else "window"
    if top == "stats":
        return "odds" if stem in ODDS else "stats"
    if top in ("core", "channel", "app", "web", "tools"):
        return top
    return None


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    include = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
    wrong = []
    unplaced = []
    for file in sorted(root.rglob("*")):
        relative = file.relative_to(root).as_posix()
        if file.suffix not in (".h", ".cpp") or relative.split("/")[0] not in (
                "core", "channel", "ui", "stats", "app", "web", "tools"):
            continue
        layer = layer_of(relative)
        if layer is None:
            unplaced.append(relative)
            continue
        for number, line in enumerate(file.read_text(encoding="utf-8").splitlines(), 1):
            match = include.match(line)
            if not match or "/" not in match.group(1):
                continue  # the standard library, Qt, and a generated file beside its source
            target = layer_of(match.group(1))
            if target is None or target not in LINKS[layer]:
                wrong.append(f"{relative}:{number}: {layer} includes {match.group(1)}"
                             f" ({target or 'no layer'})")
    for line in wrong:
        print(line)
    for path in unplaced:
        print(f"{path}: in no layer")
    if unplaced:
        return 2
    print(f"{len(wrong)} includes against the layers" if wrong else "every include follows the layers")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())

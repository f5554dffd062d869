#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks every #include of src/ (and of fuzz/) against the layering: core folders include only
core folders in the order shell < flight < files, device (chart alone) and no Qt; platform
includes core; gui includes core and platform; nothing but the programs and tests includes gui.
Prints each broken rule as FILE:LINE and exits 1."""
import pathlib
import re
import sys

ROOT = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[2])
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
# The core folders each core folder may include.
CORE_ALLOWED = {
    "shell": {"shell"},
    "flight": {"shell", "flight"},
    "files": {"shell", "flight", "files"},
    "device": {"shell", "flight", "device"},
    "chart": {"chart"},
}
LAYER_ALLOWED = {"core": {"core"}, "platform": {"core", "platform"},
                 "gui": {"core", "platform", "gui"}}


def problems_of(path, rel):
    parts = rel.parts
    found = []
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        match = INCLUDE.match(line)
        if not match:
            continue
        quoted, target = match.group(1) == '"', match.group(2)
        where = f"{rel}:{number}: "
        if parts[0] == "fuzz":
            if quoted and target.split("/")[0] in ("platform", "gui"):
                found.append(where + f"fuzz targets use the core only, not {target}")
            continue
        layer = parts[1]
        if not quoted:
            if layer == "core" and (target.startswith("Q") or target.startswith("qcustomplot")):
                found.append(where + f"the core includes no Qt header: <{target}>")
            if layer == "platform" and target.startswith(("QWidget", "QtWidgets", "qcustomplot")):
                found.append(where + f"the platform layer uses Qt Core only: <{target}>")
            continue
        target_layer = target.split("/")[0]
        if target_layer not in LAYER_ALLOWED:
            found.append(where + f'"{target}" does not name its layer (core/, platform/, gui/)')
        elif target_layer not in LAYER_ALLOWED[layer]:
            found.append(where + f"{layer} may not include {target}")
        elif layer == "core" and target.split("/")[1] not in CORE_ALLOWED[parts[2]]:
            found.append(where + f"core/{parts[2]} may not include {target}")
    return found


def main():
    problems = []
    for folder in ("src", "fuzz"):
        for path in sorted((ROOT / folder).rglob("*")):
            if path.suffix in (".h", ".cpp"):
                problems += problems_of(path, path.relative_to(ROOT))
    for problem in problems:
        print(problem)
    print(f"include rules: {len(problems)} broken")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

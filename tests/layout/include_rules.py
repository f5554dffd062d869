#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks every #include of src/, tools/ and fuzz/ against the layering.

Layers: core includes only core and no Qt; platform includes core and Qt Core; gui includes core,
platform and gui. Inside core and gui the folders are ordered too (the tables below), so that no
two folders include each other. Tools include any layer, their own folder and the shared device
model; the tests' support library only where a tool drives the program as the tests do. Only tests
include tools. Fuzz targets use the core and the tests' support library.
Prints each broken rule as FILE:LINE and exits 1."""
import pathlib
import re
import sys

ROOT = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[2])
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
# The folders each core folder may include.
CORE_ALLOWED = {
    "shell": {"shell"},
    "flight": {"shell", "flight"},
    "files": {"shell", "flight", "files"},
    "device": {"shell", "flight", "device"},
    "chart": {"chart"},
    "contest": {"shell", "flight", "files", "contest"},
}
# The folders each gui folder may include: the look at the bottom, the main window on top.
GUI_ALLOWED = {
    "look": {"look"},
    "chart": {"look", "chart"},
    "device": {"look", "device"},
    "help": {"look", "help"},
    "flight": {"look", "chart", "flight"},
    "files": {"look", "chart", "flight", "files"},
    "contest": {"look", "contest"},
    "shell": {"look", "chart", "device", "help", "flight", "files", "contest", "shell"},
}
LAYER_ALLOWED = {"core": {"core"}, "platform": {"core", "platform"},
                 "gui": {"core", "platform", "gui"}}
LAYERS = set(LAYER_ALLOWED)
# Tools that drive the program with the tests' scripted prompter and fake device.
TOOLS_USING_TEST_SUPPORT = {"screenshot"}
SHARED_TOOL_FOLDERS = {"device_model"}


def src_problem(parts, quoted, target):
    layer = parts[1]
    if not quoted:
        if layer == "core" and (target.startswith("Q") or target.startswith("qcustomplot")):
            return f"the core includes no Qt header: <{target}>"
        if layer == "platform" and target.startswith(("QWidget", "QtWidgets", "qcustomplot")):
            return f"the platform layer uses Qt Core only: <{target}>"
        return None
    target_layer = target.split("/")[0]
    if target_layer not in LAYER_ALLOWED:
        return f'"{target}" does not name its layer (core/, platform/, gui/)'
    if target_layer not in LAYER_ALLOWED[layer]:
        return f"{layer} may not include {target}"
    folder, target_folder = parts[2], target.split("/")[1]
    if layer == "core" and target_folder not in CORE_ALLOWED[folder]:
        return f"core/{folder} may not include {target}"
    if layer == "gui" and target_layer == "gui":
        if folder not in GUI_ALLOWED:
            return f"gui/{folder} is not in the gui folders' order"
        if target_folder not in GUI_ALLOWED[folder]:
            return f"gui/{folder} may not include {target}"
    return None


def tool_problem(path, parts, quoted, target):
    if not quoted:
        return None
    tool = parts[1]
    first = target.split("/")[0]
    if first in LAYERS:
        return None
    if first == "support":
        if tool in TOOLS_USING_TEST_SUPPORT:
            return None
        return f"tools/{tool} may not include the tests' {target}"
    if (path.parent / target).exists():
        return None
    if any((ROOT / "tools" / shared / target).exists() for shared in SHARED_TOOL_FOLDERS):
        return None
    return f'"{target}" is neither a layer, tools/{tool} nor a shared tool folder'


def fuzz_problem(quoted, target):
    if quoted and target.split("/")[0] in ("platform", "gui"):
        return f"fuzz targets use the core only, not {target}"
    return None


def problems_of(path, rel):
    parts = rel.parts
    found = []
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        match = INCLUDE.match(line)
        if not match:
            continue
        quoted, target = match.group(1) == '"', match.group(2)
        if parts[0] == "fuzz":
            problem = fuzz_problem(quoted, target)
        elif parts[0] == "tools":
            problem = tool_problem(path, parts, quoted, target)
        else:
            problem = src_problem(parts, quoted, target)
        if problem:
            found.append(f"{rel}:{number}: {problem}")
    return found


def main():
    problems = []
    for folder in ("src", "tools", "fuzz"):
        for path in sorted((ROOT / folder).rglob("*")):
            if path.suffix in (".h", ".cpp"):
                problems += problems_of(path, path.relative_to(ROOT))
    for problem in problems:
        print(problem)
    print(f"include rules: {len(problems)} broken")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

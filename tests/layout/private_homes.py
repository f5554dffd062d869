#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Every test of the build runs through the private-home wrapper, so none can write the user's
archive, settings or caches. Usage: private_homes.py CTEST BUILD_DIR WRAPPER"""

import json
import subprocess
import sys


def main() -> int:
    ctest, build_dir, wrapper = sys.argv[1:4]
    listing = subprocess.run(
        [ctest, "--show-only=json-v1"], cwd=build_dir, check=True, capture_output=True, text=True
    ).stdout
    tests = json.loads(listing)["tests"]
    bare = [t["name"] for t in tests if not t.get("command") or t["command"][0] != wrapper]
    for name in bare:
        print(f"{name}: runs without a private HOME", file=sys.stderr)
    if not tests:
        print("no tests listed", file=sys.stderr)
        return 1
    print(f"{len(tests) - len(bare)} of {len(tests)} tests run with a private HOME")
    return 1 if bare else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
"""Fails when a source file includes a header of a higher layer. The layers, lowest first:
platform; design, dirchooser and options side by side; sort; view; app. An include names its
layer by its first directory ("sort/CategoryList.h"); a bare name is in the file's own folder."""

import os
import re
import sys

RANK = {"platform": 0, "design": 1, "dirchooser": 1, "options": 1, "sort": 2, "view": 3, "app": 4}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def layer_of(include, own_dir):
    path = os.path.normpath(os.path.join(own_dir, include)) if include.startswith("..") else include
    first = path.split("/")[0] if "/" in path else own_dir
    return first if first in RANK else None


def upward_includes(root):
    for layer in RANK:
        for folder, _, files in os.walk(os.path.join(root, layer)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(folder, name)
                with open(path, encoding="utf-8", errors="replace") as source:
                    for number, line in enumerate(source, 1):
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        target = layer_of(match.group(1), layer)
                        if target and RANK[target] > RANK[layer]:
                            yield f"{os.path.relpath(path, root)}:{number}: {layer} includes {match.group(1)}"


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
    found = list(upward_includes(root))
    for line in found:
        print(line)
    checked = sum(1 for layer in RANK if os.path.isdir(os.path.join(root, layer)))
    if checked != len(RANK):
        print(f"only {checked} of {len(RANK)} layer folders under {root}")
        return 1
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())

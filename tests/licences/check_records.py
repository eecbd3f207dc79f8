# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
"""The licence records agree with each other: every test design in tests/data is listed in
SOURCES.tsv, and .reuse/dep5 (for reuse) and packaging/copyright (the package's copyright
file) give it the licence SOURCES.tsv names and the same copyright holders; the AppStream
metadata says the licence its file is under."""
import csv
import fnmatch
import os
import re
import sys

SRC = sys.argv[1]
DATA = "tests/data"
# Debian's copyright format calls the MIT licence Expat.
DEBIAN_NAME = {"MIT": "Expat", "Zlib": "Zlib"}


def paragraphs(path):
    """The deb822 paragraphs of a file as dicts; continuation lines joined with newlines."""
    result = []
    for block in re.split(r"\n\s*\n", open(path, encoding="utf-8").read().strip()):
        fields, last = {}, None
        for line in block.splitlines():
            if line[:1] in (" ", "\t") and last:
                fields[last] += "\n" + line.strip()
            else:
                last, _, value = line.partition(":")
                fields[last] = value.strip()
        result.append(fields)
    return result


def record_for(paras, path):
    """The Files paragraph that governs path: the last one whose patterns match it."""
    found = None
    for para in paras:
        if any(fnmatch.fnmatchcase(path, pattern) for pattern in para.get("Files", "").split()):
            found = para
    return found


def expected_licence(column):
    if column.lower().startswith("zlib"):
        return "Zlib"
    if column.startswith("MIT"):
        return "MIT"
    raise ValueError(f"unknown licence in SOURCES.tsv: {column!r}")


def main():
    faults = []
    with open(os.path.join(SRC, DATA, "SOURCES.tsv"), encoding="utf-8") as tsv:
        rows = {os.path.basename(r["file"]): r for r in csv.DictReader(tsv, delimiter="\t")}
    present = set(os.listdir(os.path.join(SRC, DATA))) - {"README.md", "SOURCES.tsv"}
    present = {name for name in present if not name.endswith(".license")}
    for name in sorted(present - rows.keys()):
        faults.append(f"{DATA}/{name} is not listed in SOURCES.tsv")
    for name in sorted(rows.keys() - present):
        faults.append(f"SOURCES.tsv lists {name}, which is not in {DATA}")

    reuse = paragraphs(os.path.join(SRC, ".reuse", "dep5"))
    debian = paragraphs(os.path.join(SRC, "packaging", "copyright"))
    for name, row in sorted(rows.items()):
        path = f"{DATA}/{name}"
        licence = expected_licence(row["licence"])
        in_reuse, in_debian = record_for(reuse, path), record_for(debian, path)
        if not in_reuse or in_reuse.get("License") != licence:
            faults.append(f"{path}: .reuse/dep5 does not say {licence}")
        if not in_debian or in_debian.get("License") != DEBIAN_NAME[licence]:
            faults.append(f"{path}: packaging/copyright does not say {DEBIAN_NAME[licence]}")
        if in_reuse and in_debian and in_reuse.get("Copyright") != in_debian.get("Copyright"):
            faults.append(f"{path}: the two records name different copyright holders")

    metainfo = os.path.join(SRC, "packaging", "org.example.nadelix.Nadelix.metainfo.xml.in")
    text = open(metainfo, encoding="utf-8").read()
    # The tag's name is split so that reuse does not read this line as this file's own tag.
    header = re.search("SPDX-" + r"License-Identifier: (\S+)", text)
    declared = re.search(r"<metadata_license>([^<]+)</metadata_license>", text)
    if not header or not declared or header.group(1) != declared.group(1):
        faults.append("the AppStream metadata's metadata_license differs from its SPDX header")

    for fault in faults:
        print(fault)
    print(f"{len(rows)} test designs checked, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())

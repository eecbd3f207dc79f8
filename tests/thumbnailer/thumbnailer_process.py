#!/usr/bin/env python3
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
"""The installed program as a file manager runs it: no display, a PNG within the size for every
decoded design, and for anything else no output, a non-zero status and a quick end."""
import os
import stat
import struct
import subprocess
import sys
import tempfile
import time

PROGRAM, EXAMPLES, DATA = map(os.path.abspath, sys.argv[1:4])
DECODED = (".pes", ".pec", ".dst", ".pcs", ".sew", ".jef", ".vp3", ".exp", ".xxx", ".hus", ".vip")
DECODED += (".u01", ".tap", ".shv", ".10o", ".dsb", ".dsz", ".ksm", ".stx", ".phb")
# Well above a healthy run, well below what a file manager would wait.
PATIENCE = 3.0
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def run(*args):
    # No display of any kind: a sandboxed thumbnailer has none.
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY")}
    start = time.monotonic()
    proc = subprocess.run([PROGRAM, *args], env=env, capture_output=True, timeout=30,
                          stdin=subprocess.DEVNULL)
    return proc, time.monotonic() - start


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def designs():
    for folder in (EXAMPLES, DATA):
        for name in sorted(os.listdir(folder)):
            if os.path.splitext(name)[1].lower() in DECODED:
                yield os.path.join(folder, name)


with tempfile.TemporaryDirectory() as tmp:
    # Every decoded design, given as a path and as a URI.
    for i, design in enumerate(designs()):
        out = os.path.join(tmp, "good.png")
        source = design if i % 2 else "file://" + design.replace(" ", "%20")
        proc, took = run("-s", "128", source, out)
        check(proc.returncode == 0, f"{design}: status {proc.returncode} {proc.stderr!r}")
        size = png_size(out) if os.path.exists(out) else None
        check(size is not None and max(size) == 128 and min(size) > 0,
              f"{design}: PNG of size {size}")
        check(took < PATIENCE, f"{design}: took {took:.2f}s")
        if os.path.exists(out):
            os.remove(out)
    check(os.listdir(tmp) == [], f"left behind: {os.listdir(tmp)}")

    # An existing OUTPUT is replaced whole.
    out = os.path.join(tmp, "replaced.png")
    with open(out, "wb") as f:
        f.write(b"old")
    proc, _ = run("-s", "256", os.path.join(EXAMPLES, "HERZ.PES"), out)
    check(proc.returncode == 0 and png_size(out) is not None, "existing OUTPUT not replaced")

    # A caller that made OUTPUT empty and reads it through its own descriptor (tumbler does).
    out = os.path.join(tmp, "held.png")
    open(out, "wb").close()
    with open(out, "rb") as held:
        proc, _ = run("-s", "64", os.path.join(EXAMPLES, "STERN.DST"), out)
        check(proc.returncode == 0 and held.read(8) == b"\x89PNG\r\n\x1a\n",
              "an OUTPUT held open got no picture")
    check(png_size(out) is not None, "held OUTPUT not replaced")
    os.remove(out)

    # Bad input: nothing at OUTPUT (an old file there stays as it was), status not 0, quick.
    bad = {}
    bad["empty.pes"] = b""
    bad["text.pes"] = b"not an embroidery design at all\n" * 40
    bad["noise.sew"] = bytes((i * 7919) % 251 for i in range(7000))  # ends before any stitch
    with open(os.path.join(DATA, "Star.PCS"), "rb") as f:
        bad["unknown.xyz"] = f.read()  # a whole design, but PCS has no signature to know it by
    paths = {}
    for name, data in bad.items():
        paths[name] = os.path.join(tmp, name)
        with open(paths[name], "wb") as f:
            f.write(data)
    huge = os.path.join(tmp, "huge.dst")
    with open(huge, "wb") as f, open(os.path.join(DATA, "Hopea.DST"), "rb") as dst:
        f.write(dst.read(600))
        f.truncate(200 << 20)  # sparse: costs no disk
    paths["huge.dst"] = huge
    fifo = os.path.join(tmp, "fifo.pes")
    os.mkfifo(fifo)  # nobody ever writes to it: a read would wait for ever
    paths["fifo.pes"] = fifo
    paths["folder.pes"] = os.path.join(tmp, "folder.pes")
    os.mkdir(paths["folder.pes"])
    paths["device.dst"] = "/dev/zero"
    paths["missing.pes"] = os.path.join(tmp, "missing.pes")
    paths["remote"] = "sftp://host/design.pes"

    for name, path in paths.items():
        for kept in (False, True):
            out = os.path.join(tmp, "out.png")
            if kept:
                with open(out, "wb") as f:
                    f.write(b"previous thumbnail")
            proc, took = run("-s", "128", path, out)
            check(proc.returncode != 0, f"{name}: status 0")
            check(took < PATIENCE, f"{name}: took {took:.2f}s")
            if kept:
                with open(out, "rb") as f:
                    check(f.read() == b"previous thumbnail", f"{name}: OUTPUT changed")
                os.remove(out)
            else:
                check(not os.path.exists(out), f"{name}: wrote OUTPUT")
    left = sorted(set(os.listdir(tmp)) - set(bad) - {"huge.dst", "fifo.pes", "folder.pes",
                                                     "replaced.png"})
    check(left == [], f"left behind: {left}")
    check(stat.S_ISFIFO(os.stat(fifo).st_mode), "fifo disturbed")

    # Usage mistakes.
    for args in ([], ["-s", "x", "a", "b"], ["a", "b"]):
        proc, _ = run(*args)
        check(proc.returncode == 2 and b"usage" in proc.stderr, f"usage for {args}")

    # An OUTPUT that cannot be written.
    proc, _ = run("-s", "128", os.path.join(EXAMPLES, "HERZ.PES"), "/nonexistent/dir/x.png")
    check(proc.returncode != 0, "unwritable OUTPUT accepted")

# Starting it costs little more than starting cp: none of the libraries it loads is Qt's or one
# that Qt pulls in.
libraries = subprocess.run(["ldd", PROGRAM], capture_output=True, text=True).stdout
heavy = [line.split()[0] for line in libraries.splitlines()
         if any(k in line for k in ("libQt", "libicu", "libglib"))]
check(heavy == [], f"loads {heavy}")

print(f"{len(failures)} failure(s)")
sys.exit(1 if failures else 0)

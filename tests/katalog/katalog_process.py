#!/usr/bin/env python3
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
"""The catalogue program as a collector runs it, read back with poppler's tools: page sizes and
counts, the texts on the right pages, each picture against the thumbnailer's, bad input, Ctrl+C
and the progress line on a terminal."""
import collections
import os
import pty
import select
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time
import zlib

PROGRAM, THUMBNAILER, EXAMPLES, DATA = map(os.path.abspath, sys.argv[1:5])
SLOWFS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support", "slowfs.py")
if not all(shutil.which(t) for t in ("pdfinfo", "pdftotext", "pdftoppm")):
    print("SKIP: poppler-utils (pdfinfo, pdftotext, pdftoppm) are not installed")
    sys.exit(77)
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def run(*args, as_nobody=False):
    prefix = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"] if as_nobody else []
    return subprocess.run(prefix + [PROGRAM, *args], capture_output=True, text=True, timeout=30,
                          stdin=subprocess.DEVNULL)


def pdf_text(pdf, page):
    return subprocess.run(["pdftotext", "-f", str(page), "-l", str(page), pdf, "-"],
                          capture_output=True, text=True, check=True).stdout


def pdf_info(pdf):
    out = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout
    info = dict(line.split(":", 1) for line in out.splitlines())
    return int(info["Pages"]), tuple(round(float(v)) for v in info["Page size"].split()[0:3:2])


def folder_of(tmp, name, files):
    """A folder of files, each a copy of a path or the bytes given."""
    os.makedirs(os.path.join(tmp, name))
    for path, source in ((os.path.join(tmp, name, n), s) for n, s in files.items()):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(source if isinstance(source, bytes) else open(source, "rb").read())
    return os.path.join(tmp, name)


def read_ppm(path):
    data = open(path, "rb").read()
    w, h = map(int, data.split(maxsplit=3)[1:3])
    pixels = data[len(data) - 3 * w * h:]
    return w, h, [tuple(pixels[i:i + 3]) for i in range(0, 3 * w * h, 3)]


def read_png(path):
    """8-bit RGB, RGBA or palette PNG, as the thumbnailer writes them."""
    data, chunks, at = open(path, "rb").read(), {}, 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        chunks[kind] = chunks.get(kind, b"") + data[at + 8:at + 8 + length]
        at += 12 + length
    w, h, depth, color = struct.unpack(">IIBB", chunks[b"IHDR"][:10])
    assert depth == 8 and color in (2, 3, 6)
    bpp = {2: 3, 3: 1, 6: 4}[color]
    raw, rows, prev = zlib.decompress(chunks[b"IDAT"]), [], bytearray(w * bpp)
    for y in range(h):
        kind, line = raw[y * (w * bpp + 1)], bytearray(raw[y * (w * bpp + 1) + 1:][:w * bpp])
        for i in range(len(line)):
            a, b, c = (line[i - bpp], prev[i], prev[i - bpp]) if i >= bpp else (0, prev[i], 0)
            pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
            pred = [0, a, b, (a + b) // 2, a if pa <= min(pb, pc) else b if pb <= pc else c]
            line[i] = (line[i] + pred[kind]) & 0xFF
        rows.append(prev := line)
    palette = chunks.get(b"PLTE", b"")
    pixels = [tuple(palette[3 * v:3 * v + 3]) if color == 3 else tuple(row[x * bpp:x * bpp + 3])
              for row in rows for x, v in enumerate(row[::bpp][:w])]
    return w, h, pixels


def drawn(w, h, pixels, backdrop):
    """The pixels that are not the backdrop (nor the tile's grey frame), with their colours."""
    return {(i % w, i // w): p for i, p in enumerate(pixels)
            if max(abs(a - b) for a, b in zip(p, backdrop)) > 24 and p != (0xD2, 0xD2, 0xD2)}


def dominant(colours, share):
    return {c for c, n in collections.Counter(colours).items() if n >= share * len(colours)}


def near(colour, colours):
    return any(max(abs(a - b) for a, b in zip(colour, c)) <= 24 for c in colours)


def bbox(points):
    xs, ys = [x for x, _ in points], [y for _, y in points]
    return min(xs), min(ys), max(xs) + 1, max(ys) + 1


def compare_pictures(tmp, folder, names):
    """Each design's picture on a page of 3 x 4 tiles (~150 px each) against the thumbnailer's."""
    pdf = os.path.join(tmp, "pictures.pdf")
    check(run(folder, "-q", "-o", pdf).returncode == 0, "pictures: no catalogue")
    dpi = 62
    subprocess.run(["pdftoppm", "-r", str(dpi), "-f", "1", "-l", "1", "-aa", "no", "-aaVector",
                    "no", pdf, os.path.join(tmp, "page")], check=True)
    pw, _, page = read_ppm(os.path.join(tmp, "page-1.ppm"))
    px = dpi / 72
    # The grid the page promises: half-inch margins, a title and a footer line, 44 pt of text
    # under each picture, 4 pt around it.
    tile_w, tile_h = (595.28 - 72) / 3, (841.89 - 72 - 28 - 18) / 4
    for i, name in enumerate(names):
        x0 = round((36 + (i % 3) * tile_w + 4) * px) + 2
        y0 = round((64 + (i // 3) * tile_h + 4) * px) + 2
        w, h = round((tile_w - 8) * px) - 4, round((tile_h - 52) * px) - 4
        tile = [page[(y0 + y) * pw + x0 + x] for y in range(h) for x in range(w)]
        png = os.path.join(tmp, "thumb.png")
        subprocess.run([THUMBNAILER, "-s", str(2 * w), os.path.join(folder, name), png],
                       check=True, timeout=30)
        tw, th, thumb = read_png(png)
        backdrop, tile_backdrop = thumb[0], dominant(tile, 0.5)
        check(near(backdrop, tile_backdrop), f"{name}: backdrop {tile_backdrop}, not {backdrop}")
        ours, theirs = drawn(w, h, tile, backdrop), drawn(tw, th, thumb, backdrop)
        for a, b, what in ((ours, theirs, "catalogue"), (theirs, ours, "thumbnail")):
            missing = [c for c in dominant(list(a.values()), 0.08)
                       if not near(c, dominant(list(b.values()), 0.01))]
            check(not missing, f"{name}: colours {missing} of the {what} missing in the other")
        # The thumbnail's drawing, scaled to fit the tile's picture room, centred.
        bx0, by0, bx1, by1 = bbox(theirs)
        scale = min((w - 12 * px) / (bx1 - bx0), (h - 12 * px) / (by1 - by0))
        want = ((w - (bx1 - bx0) * scale) / 2, (h - (by1 - by0) * scale) / 2)
        want += (want[0] + (bx1 - bx0) * scale, want[1] + (by1 - by0) * scale)
        got = bbox(ours)
        check(all(abs(g - v) <= 4 for g, v in zip(got, want)), f"{name}: drawn in {got}, {want}")
        # Where the stitches are, on a coarse grid: a mirrored or shifted drawing differs.
        cells = lambda pts, b: {(min(5, int(6 * (x - b[0]) / (b[2] - b[0]))),
                                 min(5, int(6 * (y - b[1]) / (b[3] - b[1])))) for x, y in pts}
        a, b = cells(ours, got), cells(theirs, (bx0, by0, bx1, by1))
        check(len(a ^ b) <= 3, f"{name}: stitches in different places: {sorted(a ^ b)}")


with tempfile.TemporaryDirectory() as tmp:
    os.chmod(tmp, 0o755)
    examples = {n: os.path.join(EXAMPLES, n) for n in os.listdir(EXAMPLES)}
    # Sewn in white and near-white only, as for a dark towel: the tile gets a dark backdrop.
    light = bytearray(open(os.path.join(EXAMPLES, "BLUME.SEW"), "rb").read())
    for i in range(light[0]):
        light[2 + 2 * i] = 29 if i % 2 else 2
    pictures = folder_of(tmp, "pictures", {**examples, "LICHT.SEW": bytes(light)})
    compare_pictures(tmp, pictures, sorted(os.listdir(pictures), key=str.upper))

    # Page size and count from the options, for 7 designs; a grid too dense for any picture is
    # refused, the densest one allowed still draws every design.
    pdf = os.path.join(tmp, "grid.pdf")
    for options, pages, size in (((), 1, (595, 842)), (("--page", "Letter"), 1, (612, 792)),
                                 (("--landscape",), 1, (842, 595)),
                                 (("--columns", "2", "--rows", "1"), 4, (595, 842)),
                                 (("--columns=1", "--rows=3", "--landscape"), 3, (842, 595)),
                                 (("--columns=10", "--rows=8"), 1, (595, 842)),
                                 (("--landscape", "--rows=12"), None, None)):
        proc = run(pictures, "-o", pdf, *options)
        if pages is None:
            check(proc.returncode == 2 and "Zeilen" in proc.stderr, f"{options}: {proc.stderr}")
        else:
            check(proc.returncode == 0 and not proc.stderr and pdf_info(pdf) == (pages, size),
                  f"{options}: {proc.stderr or pdf_info(pdf)}")

    # Names in the sorter's order, two to a page, each with its facts and the page's number.
    # The figures are an independent reader's, not this program's.
    figures = {"Hopea.exp": ("EXP · 119,8 × 49,2 mm", "4.052 Stiche · 2 Farben"),
               "Star.JEF": ("JEF · 59,1 × 62,3 mm", "2.543 Stiche · 2 Farben"),
               "Embroidermodder.EXP": ("EXP · 222,5 × 51,4 mm", "3.484 Stiche · 1 Farbe")}
    order = ["a.PES", "B.pes", "Embroidermodder.EXP", "Hopea.exp", "Star.JEF", "Z10.DST",
             "Z2.DST", "_x.pes", "ä.pes"]
    sources = {n: os.path.join(DATA, n) for n in figures}
    sources.update({n: os.path.join(EXAMPLES, "HERZ.PES") for n in order if n not in figures})
    folder = folder_of(tmp, "Sammlung", sources)
    pdf = os.path.join(tmp, "order.pdf")
    check(run(folder, "-q", "--columns", "1", "--rows", "2", "-o", pdf).returncode == 0, "order")
    for i, name in enumerate(order):
        text = pdf_text(pdf, i // 2 + 1)
        for label in (name, "Seite %d von 5" % (i // 2 + 1), "Sammlung", *figures.get(name, ())):
            check(label in text, f"{label!r} not on page {i // 2 + 1}")
        if i % 2:
            check(text.find(order[i - 1]) < text.find(name), f"{order[i - 1]} not before {name}")

    # Each sub-folder a section under its heading, depth first, by name.
    tree = folder_of(tmp, "tree", {"b/KREIS.PES": examples["KREIS.PES"], "STERN.DST":
                                   examples["STERN.DST"], "a/c/HERZ.PES": examples["HERZ.PES"],
                                   "a/WELLE.PCS": examples["WELLE.PCS"]})
    check(run(tree, "-r", "-q", "-o", pdf).returncode == 0, "recursive")
    text = pdf_text(pdf, 1) + pdf_text(pdf, 2)
    at = [text.find(s) for s in ("tree\n", "STERN.DST", "tree/a\n", "WELLE.PCS", "tree/a/c\n",
                                 "HERZ.PES", "tree/b\n", "KREIS.PES")]
    check(-1 not in at and at == sorted(at), f"recursive order {at}")

    # Bad input: each file gets its tile and a line, the good design its picture, quickly.
    bad = folder_of(tmp, "bad", {"HERZ.PES": examples["HERZ.PES"], "ZERO.PES": bytes(4096),
                                 "locked/KREIS.PES": examples["KREIS.PES"],
                                 "u.PES": examples["STERN.DST"]})
    for name in ("u.PES", "locked"):
        os.chmod(os.path.join(bad, name), 0)
    os.symlink("/nonexistent/Y.DST", os.path.join(bad, "Y.DST"))
    os.mkfifo(os.path.join(bad, "F.PES"))
    with open(os.path.join(bad, "BIG.DST"), "wb") as f:
        f.truncate(2 << 30)
    out = folder_of(tmp, "out", {})
    os.chmod(out, 0o777)
    pdf = os.path.join(out, "bad.pdf")
    # Root reads what chmod forbids: then as nobody, as a collector meets such files.
    as_nobody = os.geteuid() == 0 and shutil.which("setpriv") is not None
    start = time.monotonic()
    proc = run("-r", bad, "-o", pdf, as_nobody=as_nobody)
    check(proc.returncode == 0 and time.monotonic() - start < 10, f"bad: {proc.returncode}")
    text = pdf_text(pdf, 1) if os.path.exists(pdf) else ""
    check("303 Stiche" in text and "locked – Ordner nicht lesbar" in text, f"bad: {text}")
    for name, reason in (("BIG.DST", "Zu groß"), ("F.PES", "Pipe"), ("Y.DST", "not found"),
                         ("ZERO.PES", "keine Stiche"), ("u.PES", "denied"),
                         ("locked", "lässt sich nicht lesen")):
        if reason in ("denied", "lässt sich nicht lesen") and os.geteuid() == 0 and not as_nobody:
            continue
        lines = [line for line in proc.stderr.splitlines() if name in line and reason in line]
        check(len(lines) == 1 and name in text, f"bad: {name} without {reason!r}: {proc.stderr}")
    check("Mustern" not in proc.stderr, "progress line where stderr is no terminal")

    # An empty folder: an error, no catalogue.
    proc = run(folder_of(tmp, "empty", {}), "-o", os.path.join(out, "empty.pdf"))
    check(proc.returncode == 1 and "Keine Stickmuster gefunden" in proc.stderr
          and not os.path.exists(os.path.join(out, "empty.pdf")), f"empty: {proc.stderr}")

    # On a terminal: the progress line, none with --quiet; Ctrl+C once it shows ends at once
    # and leaves the older catalogue as it was.
    many = folder_of(tmp, "many", {})
    designs = [n for n in sorted(os.listdir(DATA)) if os.path.splitext(n)[1] not in (".md", ".tsv")]
    for i in range(3000):
        design = designs[i % len(designs)]
        os.symlink(os.path.join(DATA, design), f"{many}/M{i}{os.path.splitext(design)[1]}")
    # A catalogue that cannot be written says why, before it reads the designs for nothing.
    start = time.monotonic()
    proc = run(many, "-q", "-o", "/nonexistent/katalog.pdf")
    check(proc.returncode == 1 and "/nonexistent/katalog.pdf" in proc.stderr
          and time.monotonic() - start < 5, f"unwritable: {proc.returncode} {proc.stderr}")
    older = folder_of(tmp, "older", {"katalog.pdf": b"%PDF older catalogue"})
    for options, folder in (((), many), (("-q",), pictures)):
        master, slave = pty.openpty()
        child = subprocess.Popen([PROGRAM, *options, folder, "-o", f"{older}/katalog.pdf"],
                                 stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=slave)
        os.close(slave)
        seen, deadline = b"", time.monotonic() + 20
        while b"Mustern" not in seen and time.monotonic() < deadline:
            if select.select([master], [], [], 0.5)[0]:
                try:
                    seen += os.read(master, 4096)
                except OSError:
                    break  # the program ended
        if not options:
            check(b"von 3.000 Mustern" in seen, f"no progress line: {seen!r}")
            child.send_signal(signal.SIGINT)
            start = time.monotonic()
            check(child.wait(timeout=10) == 130 and time.monotonic() - start < 1,
                  f"Ctrl+C: {child.returncode} after {time.monotonic() - start:.2f}s")
            with open(os.path.join(older, "katalog.pdf"), "rb") as f:
                check(f.read() == b"%PDF older catalogue", "Ctrl+C: the older catalogue changed")
            check(os.listdir(older) == ["katalog.pdf"], f"Ctrl+C left {os.listdir(older)}")
        else:
            check(child.wait(timeout=30) == 0 and b"Mustern" not in seen, f"--quiet: {seen!r}")
        os.close(master)

    # Ctrl+C while a design is read from a share that stopped answering: the catalogue is given
    # up at once (FUSE keeps the stuck thread, and so the process, until the share answers).
    share, mnt = folder_of(tmp, "share", examples), folder_of(tmp, "mnt", {})
    control = os.path.join(tmp, "control")
    fs = subprocess.Popen([SLOWFS, share, mnt, "--control", control, "--listing-types"],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + 10
    while not os.path.ismount(mnt) and fs.poll() is None and time.monotonic() < deadline:
        time.sleep(0.1)

    def steer(command):
        with socket.socket(socket.AF_UNIX) as s:
            s.connect(control)
            s.sendall(command.encode() + b"\n")
            s.recv(100)
    if os.path.ismount(mnt):
        steer("hang /HERZ.PES")
        child = subprocess.Popen([PROGRAM, "-q", mnt, "-o", f"{older}/hung.pdf"],
                                 stdin=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        time.sleep(1)
        child.send_signal(signal.SIGINT)
        said = select.select([child.stderr], [], [], 1)[0] and child.stderr.readline()
        steer("release")
        check(said and "Abgebrochen" in said and child.wait(timeout=10) == 130
              and os.listdir(older) == ["katalog.pdf"], f"Ctrl+C on a hung share: {said!r}")
        subprocess.run(["fusermount3", "-uz", mnt])
    else:
        print("skipped the hung share: slowfs.py could not mount (no FUSE?)")
    fs.kill()
    fs.wait()

if failures:
    sys.exit(f"{len(failures)} failure(s)")
print("all good")

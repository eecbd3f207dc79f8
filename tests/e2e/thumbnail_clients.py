#!/usr/bin/env python3
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
"""Real thumbnail clients make thumbnails of one design per drawn format with the installed
nadelix-thumbnailer: GNOME's desktop thumbnail factory (which runs it in a bubblewrap sandbox that
sees only /usr, so it is installed under /usr/local and removed again afterwards) and XFCE's
tumbler service over a private D-Bus session (installed into a scratch prefix).

Usage: thumbnail_clients.py BUILD_DIR SOURCE_DIR gnome|tumbler
Exits 77 (skipped) with the reason when the client cannot run here."""
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile

SKIP = 77
# One design per drawn format (under the source tree), and the type the desktop should give it.
DESIGNS = {
    "examples/HERZ.PES": "application/x-embroidery-pes",
    "examples/BLUME.PEC": "application/x-embroidery-pec",
    "examples/STERN.DST": "application/x-embroidery-dst",
    "examples/WELLE.PCS": "application/x-embroidery-pcs",
    "examples/BLUME.SEW": "application/x-embroidery-sew",
    "tests/data/Hopea.vp3": "application/x-embroidery-vp3",
    "tests/data/Star.EXP": "application/x-embroidery-exp",
    "tests/data/Hopea.jef": "application/x-embroidery-jef",
    "tests/data/Star.XXX": "application/x-embroidery-xxx",
}
SYSTEM_PYTHON = "/usr/bin/python3"  # the one that has Debian's python3-gi


def skip(reason):
    print("SKIPPED:", reason)
    sys.exit(SKIP)


try:
    import gi
except ImportError:
    if os.path.realpath(sys.executable) != os.path.realpath(SYSTEM_PYTHON) and \
            os.path.exists(SYSTEM_PYTHON):
        os.execv(SYSTEM_PYTHON, [SYSTEM_PYTHON, *sys.argv])
    skip("python3-gi is not installed")
gi.require_version("GdkPixbuf", "2.0")
from gi.repository import GdkPixbuf, Gio, GLib  # noqa: E402


def uri_of(path):
    return Gio.File.new_for_path(path).get_uri()


def cached_thumbnail(cache, uri):
    return os.path.join(cache, "thumbnails", "normal", hashlib.md5(uri.encode()).hexdigest() + ".png")


def check_thumbnail(path):
    """A problem with the PNG at path, or None: at most 128 pixels, stitches drawn."""
    if not os.path.exists(path):
        return "no thumbnail in the cache"
    pixbuf = GdkPixbuf.Pixbuf.new_from_file(path)
    w, h = pixbuf.get_width(), pixbuf.get_height()
    if max(w, h) > 128 or min(w, h) < 1:
        return f"size {w}x{h}"
    n, rowstride = pixbuf.get_n_channels(), pixbuf.get_rowstride()
    pixels = pixbuf.get_pixels()
    drawn = 0
    for y in range(h):
        row = pixels[y * rowstride: y * rowstride + w * n]
        for x in range(w):
            p = row[x * n: x * n + n]
            if (n == 4 and p[3] == 0) or p[:3] == b"\xff\xff\xff":
                continue
            drawn += 1
    if drawn < 50:
        return f"only {drawn} pixels drawn"
    print(f"  {os.path.basename(path)}: {w}x{h}, {drawn} pixels drawn")
    return None


def install(build_dir, prefix):
    subprocess.run(["cmake", "--install", build_dir, "--prefix", prefix], check=True,
                   stdout=subprocess.DEVNULL)
    with open(os.path.join(build_dir, "install_manifest.txt")) as f:
        return [line.strip() for line in f if line.strip()]


def copy_designs(source, folder):
    os.makedirs(folder)
    for path in DESIGNS:
        shutil.copy(os.path.join(source, path), folder)


def run_gnome(build_dir, source, scratch):
    if os.geteuid() != 0:
        skip("installing under /usr/local (the only place its sandbox sees) needs root")
    try:
        gi.require_version("GnomeDesktop", "3.0")
        from gi.repository import GnomeDesktop
    except (ValueError, ImportError):
        skip("gir1.2-gnomedesktop-3.0 is not installed")
    if not shutil.which("bwrap"):
        skip("bubblewrap is not installed")
    probe = subprocess.run(["bwrap", "--ro-bind", "/usr", "/usr", "--symlink", "usr/lib64",
                            "/lib64", "--symlink", "usr/lib", "/lib", "--proc", "/proc",
                            "/usr/bin/true"], capture_output=True)
    if probe.returncode != 0:
        skip("bubblewrap cannot make its sandbox here: " + probe.stderr.decode().strip())

    prefix = "/usr/local"
    before = set()
    for root, dirs, _ in os.walk(prefix):
        before.update(os.path.join(root, d) for d in dirs)
    mime_existed = os.path.isdir(os.path.join(prefix, "share", "mime"))
    installed = install(build_dir, prefix)
    try:
        folder = os.path.join(scratch, "designs")
        copy_designs(source, folder)
        # The child looks things up in the environment the factory was made in.
        os.environ["XDG_DATA_DIRS"] = "/usr/local/share:/usr/share"
        os.environ["XDG_CACHE_HOME"] = os.path.join(scratch, "cache")
        os.environ["HOME"] = scratch
        # A sanitizer build's leak checker stops the process's threads with ptrace, which the
        # sandbox's seccomp filter forbids; the thumbnailer's own test checks it for leaks.
        asan = os.environ.get("ASAN_OPTIONS")
        os.environ["ASAN_OPTIONS"] = (asan + ":" if asan else "") + "detect_leaks=0"
        code = subprocess.run([sys.executable, __file__, build_dir, source, "gnome-inner",
                               folder], env=os.environ).returncode
        return code
    finally:
        for path in installed:
            if os.path.lexists(path):
                os.remove(path)
        if mime_existed:
            subprocess.run(["update-mime-database", os.path.join(prefix, "share", "mime")])
        else:
            shutil.rmtree(os.path.join(prefix, "share", "mime"), ignore_errors=True)
        for root, dirs, _ in os.walk(prefix, topdown=False):
            for d in dirs:
                path = os.path.join(root, d)
                if path not in before and not os.listdir(path):
                    os.rmdir(path)
        print("removed what was installed under", prefix)


def gnome_inner(folder):
    # A fresh process, so that GIO reads the MIME database the install has just built.
    gi.require_version("GnomeDesktop", "3.0")
    from gi.repository import GnomeDesktop
    size = GnomeDesktop.DesktopThumbnailSize.NORMAL
    factory = GnomeDesktop.DesktopThumbnailFactory.new(size)
    problems = []
    for name, mime in DESIGNS.items():
        name = os.path.basename(name)
        path = os.path.join(folder, name)
        uri = uri_of(path)
        info = Gio.File.new_for_path(path).query_info("standard::content-type,time::modified",
                                                      Gio.FileQueryInfoFlags.NONE, None)
        typed = info.get_content_type()
        mtime = info.get_attribute_uint64("time::modified")
        if typed != mime:
            problems.append(f"{name}: the desktop types it {typed}, not {mime}")
        if not factory.can_thumbnail(uri, mime, mtime):
            problems.append(f"{name}: the factory has no thumbnailer for {mime}")
            continue
        try:
            pixbuf = factory.generate_thumbnail(uri, mime, None)
        except GLib.Error as error:
            problems.append(f"{name}: {error.message}")
            continue
        factory.save_thumbnail(pixbuf, uri, mtime, None)
        thumb = GnomeDesktop.desktop_thumbnail_path_for_uri(uri, size)
        problem = check_thumbnail(thumb)
        if problem:
            problems.append(f"{name}: {problem}")
    return problems


def run_tumbler(build_dir, source, scratch):
    tumblerd = "/usr/lib/x86_64-linux-gnu/tumbler-1/tumblerd"
    if not os.path.exists(tumblerd):
        skip("tumbler is not installed")
    if not shutil.which("dbus-run-session"):
        skip("dbus-run-session is not installed")
    prefix = os.path.join(scratch, "prefix")
    install(build_dir, prefix)
    folder = os.path.join(scratch, "designs")
    copy_designs(source, folder)
    env = dict(os.environ)
    env["XDG_DATA_DIRS"] = os.path.join(prefix, "share") + ":/usr/share"
    env["PATH"] = os.path.join(prefix, "bin") + ":" + env.get("PATH", "/usr/bin:/bin")
    env["XDG_CACHE_HOME"] = os.path.join(scratch, "cache")
    env["HOME"] = scratch
    for variable in ("DBUS_SESSION_BUS_ADDRESS", "DISPLAY", "WAYLAND_DISPLAY"):
        env.pop(variable, None)
    return subprocess.run(["dbus-run-session", "--", sys.executable, __file__, build_dir,
                           source, "tumbler-inner", folder], env=env, timeout=120).returncode


def tumbler_inner(folder):
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    proxy = Gio.DBusProxy.new_sync(bus, Gio.DBusProxyFlags.NONE, None,
                                   "org.freedesktop.thumbnails.Thumbnailer1",
                                   "/org/freedesktop/thumbnails/Thumbnailer1",
                                   "org.freedesktop.thumbnails.Thumbnailer1", None)
    names = [os.path.basename(path) for path in DESIGNS]
    uris = [uri_of(os.path.join(folder, name)) for name in names]
    loop = GLib.MainLoop()
    errors = []
    state = {"handle": None}

    def on_signal(_proxy, _sender, signal, params):
        if signal == "Error":
            _, failed, code, message = params.unpack()
            errors.extend(f"{u}: {message} ({code})" for u in failed)
        elif signal == "Finished" and params.unpack()[0] == state["handle"]:
            loop.quit()

    proxy.connect("g-signal", on_signal)
    state["handle"] = proxy.call_sync(
        "Queue", GLib.Variant("(asasssu)", (uris, list(DESIGNS.values()), "normal", "default", 0)),
        Gio.DBusCallFlags.NONE, 60000, None).unpack()[0]
    GLib.timeout_add_seconds(60, lambda: (errors.append("no answer within a minute"), loop.quit()))
    loop.run()
    problems = list(errors)
    cache = os.environ["XDG_CACHE_HOME"]
    for name, uri in zip(names, uris):
        problem = check_thumbnail(cached_thumbnail(cache, uri))
        if problem:
            problems.append(f"{name}: {problem}")
    return problems


def main():
    build_dir, source, client = sys.argv[1:4]
    if client in ("gnome-inner", "tumbler-inner"):
        problems = (gnome_inner if client == "gnome-inner" else tumbler_inner)(sys.argv[4])
        for p in problems:
            print("FAIL:", p)
        sys.exit(1 if problems else 0)
    with tempfile.TemporaryDirectory() as scratch:
        runner = run_gnome if client == "gnome" else run_tumbler
        code = runner(os.path.abspath(build_dir), os.path.abspath(source), scratch)
    print(f"{client}: {f'thumbnails for all {len(DESIGNS)} formats' if code == 0 else 'FAILED'}")
    sys.exit(code)


if __name__ == "__main__":
    main()

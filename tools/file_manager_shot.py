#!/usr/bin/env python3
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
"""Takes docs/file-manager.png: PCManFM-Qt on a virtual X server showing a folder of the example
designs as thumbnails made by the installed nadelix-thumbnailer.

Usage: file_manager_shot.py BUILD_DIR EXAMPLES OUTPUT.png
Runs the file manager as an ordinary user (nobody) when started as root, as a desktop would."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
import xsession  # noqa: E402

SETTINGS = """[FolderView]
Mode=thumbnail
ThumbnailIconSize=128
"""


def main():
    build_dir, examples, output = map(os.path.abspath, sys.argv[1:4])
    if not shutil.which("pcmanfm-qt"):
        sys.exit("pcmanfm-qt is not installed")
    scratch = tempfile.mkdtemp(prefix="nadelix-shot-")
    os.chmod(scratch, 0o755)
    desktop = None
    try:
        prefix = os.path.join(scratch, "prefix")
        subprocess.run(["cmake", "--install", build_dir, "--prefix", prefix], check=True,
                       stdout=subprocess.DEVNULL)
        home = os.path.join(scratch, "home")
        folder = os.path.join(home, "Stickmuster")
        os.makedirs(folder)
        for name in sorted(os.listdir(examples)):
            if not name.endswith(".py"):
                shutil.copy(os.path.join(examples, name), folder)
        config = os.path.join(home, ".config", "pcmanfm-qt", "default")
        os.makedirs(config)
        with open(os.path.join(config, "settings.conf"), "w") as f:
            f.write(SETTINGS)
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_CACHE_HOME=os.path.join(home, ".cache"),
                   XDG_DATA_DIRS=os.path.join(prefix, "share") + ":/usr/share",
                   PATH=os.path.join(prefix, "bin") + ":" + os.environ.get("PATH", "/usr/bin"),
                   QT_QPA_PLATFORM="xcb", LANG="C.UTF-8")
        argv = ["dbus-run-session", "--", "pcmanfm-qt", folder]
        if os.geteuid() == 0:
            # As root the file manager paints a warning bar across its window.
            for root, dirs, files in os.walk(home):
                for n in dirs + files + ["."]:
                    os.chown(os.path.join(root, n), 65534, 65534)
            os.chown(home, 65534, 65534)
            env["XDG_RUNTIME_DIR"] = home
            argv = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", *argv]
        desktop = xsession.Desktop(scratch, 820, 600)
        desktop.start(argv, env, home)
        window = desktop.wait_window("Stickmuster", timeout=30)
        desktop.xdotool("windowmove", window, 0, 0)
        desktop.xdotool("windowsize", window, 820, 600)
        thumbs = os.path.join(home, ".cache", "thumbnails", "normal")
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            made = os.listdir(thumbs) if os.path.isdir(thumbs) else []
            if len(made) >= 6:
                break
            time.sleep(0.5)
        time.sleep(2)  # the view picks the new thumbnails up
        desktop.screenshot(output)
        print(desktop.program_output())
        print("wrote", output)
    finally:
        if desktop:
            desktop.close()
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()

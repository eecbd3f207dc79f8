# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
"""A private X server (Xvfb) with one program on it, worked through xdotool as a person would:
key presses and mouse clicks go through the X server, windows are found by their titles.

Without a window manager nobody hands the keyboard to a new window, so the session gives it to
the window it works in, as a click on it would.
"""

import ctypes
import os
import re
import select
import signal
import subprocess
import time

import xwdpng

_PR_SET_PDEATHSIG = 1


class Failure(Exception):
    """A step of the session did not come out as a person would expect."""


def _die_with_parent():
    # The server and the program must not outlive a session killed by a timeout.
    ctypes.CDLL(None, use_errno=True).prctl(_PR_SET_PDEATHSIG, signal.SIGKILL)


class Desktop:
    def __init__(self, scratch: str, width: int = 1280, height: int = 1024):
        self.scratch = scratch
        self.server = None
        self.program = None
        self.program_log = os.path.join(scratch, "program.log")
        read_end, write_end = os.pipe()
        try:
            # The server picks a free display itself and writes its number to the pipe, so
            # sessions running side by side never meet.
            self.server = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                 f"{width}x{height}x24", "-nolisten", "tcp", "-noreset"],
                pass_fds=(write_end,), stdin=subprocess.DEVNULL,
                stdout=subprocess.DEVNULL, stderr=open(os.path.join(scratch, "xvfb.log"), "wb"),
                preexec_fn=_die_with_parent)
            os.close(write_end)
            write_end = -1
            number = b""
            deadline = time.monotonic() + 20
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([read_end], [], [], left)[0]:
                    raise Failure("the X server (Xvfb) did not start within 20 s")
                piece = os.read(read_end, 16)
                if not piece:
                    raise Failure("the X server (Xvfb) ended at its start")
                number += piece
        finally:
            os.close(read_end)
            if write_end >= 0:
                os.close(write_end)
        self.display = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.display)

    # --- the program -------------------------------------------------------------------------

    def start(self, argv, env: dict, cwd: str):
        self.program = subprocess.Popen(
            argv, env=dict(env, DISPLAY=self.display), cwd=cwd, stdin=subprocess.DEVNULL,
            stdout=open(self.program_log, "wb"), stderr=subprocess.STDOUT,
            preexec_fn=_die_with_parent)

    def program_output(self) -> str:
        try:
            with open(self.program_log, encoding="utf-8", errors="replace") as log:
                return log.read()[-4000:]
        except OSError:
            return ""

    def wait_program_end(self, timeout: float) -> int:
        try:
            return self.program.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program is still running {timeout:.0f} s later") from None

    def check_program_runs(self):
        if self.program is not None and self.program.poll() is not None:
            raise Failure("the program ended unexpectedly with exit code "
                          f"{self.program.returncode}")

    def close(self):
        for process in (self.program, self.server):
            if process is None or process.poll() is not None:
                continue
            process.terminate()
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()

    # --- xdotool ------------------------------------------------------------------------------

    def xdotool(self, *args, timeout: float = 10, check: bool = True) -> str:
        try:
            done = subprocess.run(["xdotool", *map(str, args)], env=self.env, timeout=timeout,
                                  capture_output=True, text=True)
        except subprocess.TimeoutExpired:
            raise Failure(f"xdotool {' '.join(map(str, args))} took longer than {timeout} s") \
                from None
        if check and done.returncode != 0:
            raise Failure(f"xdotool {' '.join(map(str, args))} failed: {done.stderr.strip()}")
        return done.stdout

    def windows(self, title: str) -> list[int]:
        """The visible windows titled exactly so."""
        found = self.xdotool("search", "--onlyvisible", "--name", f"^{re.escape(title)}$",
                             check=False)
        return [int(line) for line in found.split()]

    def wait_window(self, title: str, timeout: float = 10) -> int:
        """Waits for a visible window of this title that is the only one of that title."""
        self.check_program_runs()
        try:
            found = self.xdotool("search", "--sync", "--onlyvisible", "--name",
                                 f"^{re.escape(title)}$", timeout=timeout)
        except Failure:
            self.check_program_runs()
            raise Failure(f'no window "{title}" appeared within {timeout:.0f} s') from None
        ids = [int(line) for line in found.split()]
        if len(ids) != 1:
            raise Failure(f'{len(ids)} windows "{title}" are open, expected one')
        return ids[0]

    def wait_new_window(self, title: str, known: set, timeout: float = 10) -> int:
        """Waits for a window of this title that is none of the known ones (the main window
        and a message box can share a title)."""
        deadline = time.monotonic() + timeout
        while True:
            self.check_program_runs()
            new = [w for w in self.windows(title) if w not in known]
            if len(new) == 1:
                return new[0]
            if len(new) > 1:
                raise Failure(f'{len(new)} new windows "{title}" are open, expected one')
            if time.monotonic() > deadline:
                raise Failure(f'no new window "{title}" appeared within {timeout:.0f} s')
            time.sleep(0.05)

    def wait_closed(self, window: int, what: str, timeout: float = 10):
        deadline = time.monotonic() + timeout
        while window in self.visible_windows():
            self.check_program_runs()
            if time.monotonic() > deadline:
                raise Failure(f"{what} is still open {timeout:.0f} s later")
            time.sleep(0.05)

    def visible_windows(self) -> set:
        found = self.xdotool("search", "--onlyvisible", "--name", "", check=False)
        return {int(line) for line in found.split()}

    def focus(self, window: int):
        self.xdotool("windowfocus", "--sync", window)

    def wait_focus(self, window: int, what: str, timeout: float = 10):
        """Waits until the X server sends the keyboard to this window."""
        deadline = time.monotonic() + timeout
        while self.xdotool("getwindowfocus", check=False).strip() != str(window):
            self.check_program_runs()
            if time.monotonic() > deadline:
                raise Failure(f"{what} did not get the keyboard within {timeout:.0f} s")
            time.sleep(0.05)

    def keys(self, *keys: str):
        # A pause between keys, as fingers make: a menu opened by one key is ready for the
        # next, and a button clicked by its mnemonic has come up again (Qt shows the click
        # for 100 ms, and Escape meanwhile only takes the press back).
        self.xdotool("key", "--delay", "150", *keys)

    def type(self, text: str):
        self.xdotool("type", "--delay", "30", text)

    def keyboard_layout(self, layout: str):
        """Sets the keyboard layout, so that its letters (ö in "de") are typed from keys it has.

        xdotool types a letter the layout lacks by mapping it onto a spare key for a moment; a
        program that reads that key after the mapping went back sees nothing, which a busy
        machine made happen."""
        done = subprocess.run(["setxkbmap", layout], env=self.env, timeout=10,
                              capture_output=True, text=True)
        if done.returncode != 0:
            raise Failure(f"setxkbmap {layout} failed: {done.stderr.strip()}")

    def geometry(self, window: int) -> tuple[int, int, int, int]:
        shell = self.xdotool("getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in shell.split())
        return (int(values["X"]), int(values["Y"]), int(values["WIDTH"]),
                int(values["HEIGHT"]))

    def click(self, window: int, x: int, y: int, button: int = 1):
        """Clicks at a point given in pixels from the window's top left corner."""
        left, top, _, _ = self.geometry(window)
        where = dict(pair.split(":") for pair in self.xdotool("getmouselocation").split())
        # Waiting for a move that needs no moving would never end.
        if (int(where["x"]), int(where["y"])) != (left + x, top + y):
            self.xdotool("mousemove", "--sync", left + x, top + y)
        self.xdotool("click", button)

    # --- pictures -----------------------------------------------------------------------------

    def screenshot(self, path: str):
        """Writes a PNG picture of the screen: each visible window, bottom to top."""
        tree = subprocess.run(["xwininfo", "-root", "-children"], env=self.env,
                              capture_output=True, text=True, timeout=10).stdout
        size = re.search(r"Width: (\d+).*?Height: (\d+)",
                         subprocess.run(["xwininfo", "-root"], env=self.env, capture_output=True,
                                        text=True, timeout=10).stdout, re.S)
        screen = xwdpng.Picture(int(size.group(1)), int(size.group(2)))
        visible = self.visible_windows()
        # xwininfo lists the root's children from the top of the stack down.
        for window in reversed(re.findall(r"^\s+(0x[0-9a-f]+)", tree, re.M)):
            if int(window, 16) not in visible:
                continue
            dump = subprocess.run(["xwd", "-id", window, "-silent"], env=self.env,
                                  capture_output=True, timeout=10).stdout
            if not dump:
                continue
            left, top, _, _ = self.geometry(int(window, 16))
            screen.paste(xwdpng.from_xwd(dump), left, top)
        with open(path, "wb") as out:
            out.write(screen.png())

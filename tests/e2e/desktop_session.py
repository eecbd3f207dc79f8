#!/usr/bin/env python3
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
"""Sorts a folder of designs with the real program on a private X server, as a person would:
menus by their keys, buttons by mouse clicks, directories chosen in the program's own
directory chooser, questions answered in their message boxes. Then checks the files on disk.

Usage: desktop_session.py NADELIX_BINARY EXAMPLES_DIR [FAILURE_PICTURE.png]
Exit codes: 0 passed, 1 failed (naming the step), 77 skipped (no Xvfb or xdotool).
"""

import os
import shutil
import signal
import sys
import tempfile
import time

# The helpers beside this script, without leaving compiled files in the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from xsession import Desktop, Failure  # noqa: E402

# The program's window titles.
MAIN = "Nadelix"
SORTIEREN = "Kopieren und Sortieren"
AUSWAHL = "Verzeichnis auswählen"
OPTIONEN = "Eigenschaften"
INFO = "Über Nadelix"
NEUE_KATEGORIE = "Neue Kategorie einfügen"

# Sizes of the two dialogs in dialog units, and the places of the controls clicked in them;
# a control's pixel place is its share of the window's size.
SORTIEREN_SIZE = (216, 271)
QUELLE_AENDERN = (171, 3, 43, 12)
ZIEL_AENDERN = (171, 17, 43, 12)
KATEGORIEN = (5, 42, 109, 222)
SCHLIESSEN = (155, 59, 26, 26)
VORHERIGE = (127, 128, 40, 20)
NAECHSTE = (170, 128, 40, 20)
LOESCHEN = (127, 203, 26, 26)
COPY = (170, 203, 40, 26)
AUSWAHL_SIZE = (190, 194)
UEBERNEHMEN = (137, 8, 49, 14)
BAUM = (3, 53, 125, 140)
LAUFWERK = (47, 36, 81, 68)

ACCEPTED = ("PES", "PEC", "PCS", "DST", "SEW")  # the formats on at every start
TYPE_AHEAD_PAUSE = 0.5  # longer than Qt's type-ahead interval, so a new search starts
WHOLE_RUN = 100  # seconds; CI gives the test 120


class Session:
    def __init__(self, desktop: Desktop):
        self.desktop = desktop
        self.step = "setting up"
        self.main = 0

    def begin(self, step: str):
        self.step = step
        print(f"step: {step}", flush=True)

    # --- working the windows -----------------------------------------------------------------

    def click_control(self, window: int, dialog_size, control, dx: float = 0.5, dy: float = 0.5):
        """Clicks a control by its dialog-unit rectangle, at the given share of its size."""
        _, _, width, height = self.desktop.geometry(window)
        x, y, w, h = control
        self.desktop.click(window, round((x + w * dx) * width / dialog_size[0]),
                           round((y + h * dy) * height / dialog_size[1]))

    def menu(self, *keys: str):
        self.desktop.focus(self.main)
        self.desktop.keys(*keys)

    def keys_back_in(self, window: int, what: str, *keys: str):
        """Types into the window that opened a window just closed, without handing it the
        keyboard first: the program must have given it back."""
        self.desktop.wait_focus(window, f"{what} after the window it opened closed")
        self.desktop.keys(*keys)

    def message_box(self, answer: str = "Return"):
        """Waits for a message box of the program and answers it."""
        box = self.desktop.wait_new_window(MAIN, {self.main})
        self.desktop.focus(box)
        self.desktop.keys(answer)
        self.desktop.wait_closed(box, "the message box")

    def no_message_box(self, wait: float = 0):
        """Fails if a message box is open, or opens within wait seconds."""
        deadline = time.monotonic() + wait
        while True:
            boxes = [w for w in self.desktop.windows(MAIN) if w != self.main]
            if boxes:
                raise Failure("a message box is open that nothing asked for")
            if time.monotonic() >= deadline:
                return
            time.sleep(0.05)

    def type_ahead(self, text: str):
        time.sleep(TYPE_AHEAD_PAUSE)
        self.desktop.type(text)

    def choose_directory(self, button, path_below_tmp: list[str], drive_box: bool = False,
                         enter_in_drive_box: bool = False):
        """Opens the directory chooser with a button of the sorting dialog and walks its tree
        from "/" down to /tmp/<path>: type-ahead finds a folder, the right arrow opens it.
        With drive_box, "/" is first chosen again in the drive box, which reads it afresh.
        With enter_in_drive_box, "/" is typed into the drive box's edit field and Enter
        pressed there instead of clicking "Übernehmen": the typed text must not count."""
        dialog = self.desktop.wait_window(SORTIEREN)
        self.click_control(dialog, SORTIEREN_SIZE, button)
        chooser = self.desktop.wait_window(AUSWAHL)
        if drive_box:
            # The box is one line high whatever its template says; its first entry is "/".
            _, _, width, height = self.desktop.geometry(chooser)
            self.desktop.click(chooser, round(LAUFWERK[0] * width / AUSWAHL_SIZE[0]) + 20,
                               round(LAUFWERK[1] * height / AUSWAHL_SIZE[1]) + 8)
            self.desktop.keys("F4", "Home", "Return")
        # The first row of the tree is the drive "/"; a click there puts the keyboard into
        # the tree.
        _, _, width, height = self.desktop.geometry(chooser)
        self.desktop.click(chooser, round(BAUM[0] * width / AUSWAHL_SIZE[0]) + 60,
                           round(BAUM[1] * height / AUSWAHL_SIZE[1]) + 10)
        for depth, name in enumerate(["tmp", *path_below_tmp]):
            if depth:
                self.desktop.keys("Right")
            self.type_ahead(name)
        if enter_in_drive_box:
            self.desktop.click(chooser, round(LAUFWERK[0] * width / AUSWAHL_SIZE[0]) + 20,
                               round(LAUFWERK[1] * height / AUSWAHL_SIZE[1]) + 8)
            self.desktop.keys("ctrl+a", "slash", "Return")
        else:
            self.click_control(chooser, AUSWAHL_SIZE, UEBERNEHMEN)
        self.desktop.wait_closed(chooser, "the directory chooser")

    def mark(self, dialog: int, *categories: str):
        """Marks categories by typing their names in the list and pressing the space bar."""
        # A click below the entries puts the keyboard into the list without marking anything.
        self.click_control(dialog, SORTIEREN_SIZE, KATEGORIEN, dy=0.95)
        for category in categories:
            self.type_ahead(category)
            self.desktop.keys("space")

    # --- waiting for the disk ----------------------------------------------------------------

    def wait_for(self, condition, what: str, timeout: float = 10):
        deadline = time.monotonic() + timeout
        while not condition():
            self.desktop.check_program_runs()
            self.no_message_box()
            if time.monotonic() > deadline:
                raise Failure(f"{what} did not happen within {timeout:.0f} s")
            time.sleep(0.05)


def read(path: str) -> bytes:
    with open(path, "rb") as f:
        return f.read()


def tree_of(root: str) -> dict:
    """Every file below root by its relative path, with its bytes; directories end in '/'."""
    found = {}
    for folder, dirs, files in os.walk(root):
        rel = os.path.relpath(folder, root)
        for d in dirs:
            found[os.path.normpath(os.path.join(rel, d)) + "/"] = None
        for f in files:
            found[os.path.normpath(os.path.join(rel, f))] = read(os.path.join(folder, f))
    return found


def run(session: Session, binary: str, examples: str, scratch: str):
    desktop = session.desktop
    quelle = os.path.join(scratch, "quelle")
    ziel = os.path.join(scratch, "ziel")
    home = os.path.join(scratch, "home")
    for folder in (quelle, ziel, home, os.path.join(quelle, "alt.pes"),
                   *(os.path.join(ziel, c) for c in ("Blumen", "Formen", "Tiere/Hunde",
                                                      "Tiere/Katzen"))):
        os.makedirs(folder)

    # The sample designs, one of them with a lower-case name on disk, beside a text file and
    # a folder whose name looks like a design: neither of them is listed.
    originals = {}
    for name in sorted(os.listdir(examples)):
        on_disk = "herz.pes" if name == "HERZ.PES" else name
        shutil.copyfile(os.path.join(examples, name), os.path.join(quelle, on_disk))
        originals[on_disk] = read(os.path.join(examples, name))
    with open(os.path.join(quelle, "liesmich.txt"), "w") as f:
        f.write("keine Stickdatei\n")
    with open(os.path.join(quelle, "alt.pes", "ALT.PES"), "wb") as f:
        f.write(b"#PES0001")
    # The program lists the designs by their upper-cased names, byte by byte.
    designs = sorted((n for n in os.listdir(quelle)
                      if os.path.isfile(os.path.join(quelle, n)) and n.upper()[-3:] in ACCEPTED),
                     key=lambda n: (n.upper().encode(), n.encode()))
    if len(designs) != 6:
        raise Failure(f"expected six sample designs, found {designs}")
    shown = [n.upper() for n in designs]  # the names the program shows and copies under

    # A design of the same name but another size waits in "Formen": the copy is renamed.
    base, suffix = shown[2][:-4], shown[2][-4:]
    with open(os.path.join(ziel, "Formen", shown[2]), "wb") as f:
        f.write(b"ein anderes Design")

    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("XDG_", "DBUS_", "SESSION_MANAGER", "QT_"))}
    env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_DATA_HOME=os.path.join(home, ".local/share"),
               XDG_CACHE_HOME=os.path.join(home, ".cache"),
               XDG_STATE_HOME=os.path.join(home, ".local/state"),
               XDG_RUNTIME_DIR=os.path.join(scratch, "runtime"),
               QT_QPA_PLATFORM="xcb", NO_AT_BRIDGE="1", LC_ALL="C.UTF-8")
    os.mkdir(env["XDG_RUNTIME_DIR"], 0o700)

    session.begin("start the program")
    desktop.start([binary], env, cwd=home)
    session.main = desktop.wait_window(MAIN, timeout=20)

    session.begin("About box from the menu Hilfe")
    session.menu("alt+h", "i")
    info = desktop.wait_window(INFO)
    desktop.focus(info)
    desktop.keys("Return")
    desktop.wait_closed(info, "the About box")

    session.begin("options sheet closed with Abbrechen changes nothing")
    session.keys_back_in(session.main, "the main window", "alt+e", "o")
    sheet = desktop.wait_window(OPTIONEN)
    desktop.keys("alt+q", "Escape")  # "&Quelldatei nach erfolgreichem Kopieren löschen"
    desktop.wait_closed(sheet, "the options sheet")

    session.begin('open "Nach Kategorien"')
    session.keys_back_in(session.main, "the main window", "alt+k", "n")
    dialog = desktop.wait_window(SORTIEREN)

    session.begin('"vorherige" before a source is chosen')
    session.click_control(dialog, SORTIEREN_SIZE, VORHERIGE)
    session.message_box()  # "Keine weiteren Dateien mehr"

    session.begin('choose the source in the directory chooser, "/" typed into its drive box '
                  "and Enter pressed there")
    session.choose_directory(QUELLE_AENDERN, [os.path.basename(scratch), "quelle"],
                             enter_in_drive_box=True)
    # "/" as the source would be reported as holding no designs.
    session.no_message_box(wait=1)

    session.begin("choose the target in the directory chooser")
    session.choose_directory(ZIEL_AENDERN, [os.path.basename(scratch), "ziel"], drive_box=True)

    session.begin('browse with "nächste" and "vorherige", mark two categories with the space '
                  "bar, copy with Alt+C")
    for button in (NAECHSTE, NAECHSTE, VORHERIGE):
        session.click_control(dialog, SORTIEREN_SIZE, button)
    session.mark(dialog, "Blumen", "Tiere/H")
    desktop.keys("alt+c")
    copies = [os.path.join(ziel, "Blumen", shown[1]),
              os.path.join(ziel, "Tiere", "Hunde", shown[1])]
    session.wait_for(lambda: all(os.path.exists(c) for c in copies), f"copying {shown[1]}")

    session.begin("the next design comes up by itself; a copy beside one of another size "
                  "is renamed")
    session.mark(dialog, "Formen")
    session.click_control(dialog, SORTIEREN_SIZE, COPY)
    renamed = os.path.join(ziel, "Formen", f"{base}01{suffix}")
    session.wait_for(lambda: os.path.exists(renamed), f"copying {shown[2]} as {base}01{suffix}")
    # The first copy's command is over by now: it must have left its source alone.
    if not os.path.exists(os.path.join(quelle, designs[1])):
        raise Failure(f"{designs[1]} was deleted after copying, although deleting the source "
                      "was only switched on in an options sheet that was cancelled")

    session.begin("the options are refused while the sorting dialog is open")
    desktop.click(session.main, 20, 100)  # beside the dialog, in the design view
    desktop.keys("alt+e", "o")
    session.message_box()  # "Arbeitsfenster noch aktiv. Bitte schließen."
    # The About box opening shows that the command is over; the sheet must not have come.
    session.keys_back_in(session.main, "the main window", "alt+h", "i")
    info = desktop.wait_window(INFO)
    if desktop.windows(OPTIONEN):
        raise Failure("the options sheet opened although the sorting dialog is open")
    desktop.focus(info)
    desktop.keys("Return")
    desktop.wait_closed(info, "the About box")

    session.begin('"Nach Kategorien" again brings the open dialog to the keyboard')
    session.keys_back_in(session.main, "the main window", "alt+k", "n")
    desktop.wait_focus(dialog, "the sorting dialog")
    if desktop.windows(SORTIEREN) != [dialog]:
        raise Failure("a second sorting dialog opened")

    session.begin("close the sorting dialog with Escape")
    desktop.focus(dialog)
    desktop.keys("Escape")
    desktop.wait_closed(dialog, "the sorting dialog")

    session.begin("switch on deleting the source after copying in the options sheet")
    session.keys_back_in(session.main, "the main window", "alt+e", "o")
    sheet = desktop.wait_window(OPTIONEN)
    desktop.keys("alt+q", "Return")
    desktop.wait_closed(sheet, "the options sheet")

    session.begin("reopen the sorting dialog: source and target are remembered")
    session.keys_back_in(session.main, "the main window", "alt+k", "n")
    dialog = desktop.wait_window(SORTIEREN)

    session.begin('a new category "Vögel" below "Tiere", from the context menu key')
    session.click_control(dialog, SORTIEREN_SIZE, KATEGORIEN, dy=0.95)
    session.type_ahead("Tiere")
    desktop.keys("Menu")
    neu = desktop.wait_window(NEUE_KATEGORIE)
    desktop.keys("shift+Tab")  # from "&Einfügen" back round to the name field
    desktop.keyboard_layout("de")
    desktop.type("Vögel")
    desktop.keys("Return")
    desktop.wait_closed(neu, "the new-category dialog")
    session.wait_for(lambda: os.path.isdir(os.path.join(ziel, "Tiere", "Vögel")),
                     'making the directory "Tiere/Vögel"')
    desktop.keyboard_layout("us")

    session.begin("move a design into two categories, one of them the new one")
    for _ in range(3):
        session.click_control(dialog, SORTIEREN_SIZE, NAECHSTE)
    session.mark(dialog, "Tiere/K", "Tiere/V")
    session.click_control(dialog, SORTIEREN_SIZE, COPY)
    moved = [os.path.join(ziel, "Tiere", c, shown[3]) for c in ("Katzen", "Vögel")]
    session.wait_for(lambda: all(os.path.exists(m) for m in moved) and
                     not os.path.exists(os.path.join(quelle, designs[3])),
                     f"moving {designs[3]}")

    session.begin('delete the next design, answering "Nein" first')
    session.click_control(dialog, SORTIEREN_SIZE, LOESCHEN)
    session.message_box("alt+n")  # "Datei wirklich löschen ?"
    if not os.path.exists(os.path.join(quelle, designs[4])):
        raise Failure(f'{designs[4]} was deleted although the answer was "Nein"')

    session.begin('delete it, answering "Ja"')
    session.click_control(dialog, SORTIEREN_SIZE, LOESCHEN)
    session.message_box("alt+j")
    session.wait_for(lambda: not os.path.exists(os.path.join(quelle, designs[4])),
                     f"deleting {designs[4]}")

    session.begin('"nächste" at the last design')
    session.click_control(dialog, SORTIEREN_SIZE, NAECHSTE)
    session.message_box()  # "Keine weiteren Dateien mehr"

    session.begin("move the last design into the target directory itself")
    # "[" finds "[ Zielverzeichnis ]": a space in the list marks rather than searches.
    session.mark(dialog, "[")
    session.click_control(dialog, SORTIEREN_SIZE, COPY)
    session.wait_for(lambda: os.path.exists(os.path.join(ziel, shown[5])) and
                     not os.path.exists(os.path.join(quelle, designs[5])),
                     f"moving {designs[5]} into the target")

    session.begin("a copy that is there already is refused and nothing is deleted")
    session.mark(dialog, "Formen")
    session.click_control(dialog, SORTIEREN_SIZE, COPY)
    session.message_box()  # "Datei schon vorhanden"
    desktop.wait_focus(dialog, "the sorting dialog after the message box closed")

    session.begin('close the sorting dialog with "Dialog schließen"')
    session.click_control(dialog, SORTIEREN_SIZE, SCHLIESSEN)
    desktop.wait_closed(dialog, "the sorting dialog")

    session.begin('quit with "Beenden"')
    session.keys_back_in(session.main, "the main window", "alt+k", "b")
    code = desktop.wait_program_end(10)
    if code != 0:
        raise Failure(f"the program ended with exit code {code}")

    session.begin("check the files on disk")
    expected_source = {"alt.pes/": None, "alt.pes/ALT.PES": b"#PES0001",
                       "liesmich.txt": b"keine Stickdatei\n"}
    for name in designs[:3]:
        expected_source[name] = originals[name]
    expected_target = {
        "Blumen/": None, "Formen/": None, "Tiere/": None, "Tiere/Hunde/": None,
        "Tiere/Katzen/": None,
        f"Blumen/{shown[1]}": originals[designs[1]],
        f"Tiere/Hunde/{shown[1]}": originals[designs[1]],
        f"Formen/{shown[2]}": b"ein anderes Design",
        f"Formen/{base}01{suffix}": originals[designs[2]],
        f"Tiere/Katzen/{shown[3]}": originals[designs[3]],
        "Tiere/Vögel/": None, f"Tiere/Vögel/{shown[3]}": originals[designs[3]],
        shown[5]: originals[designs[5]],
    }
    for label, root, expected in (("source", quelle, expected_source),
                                  ("target", ziel, expected_target)):
        actual = tree_of(root)
        if actual != expected:
            missing = sorted(set(expected) - set(actual))
            extra = sorted(set(actual) - set(expected))
            different = sorted(k for k in set(expected) & set(actual) if expected[k] != actual[k])
            raise Failure(f"the {label} directory is not as expected: missing {missing}, "
                          f"unexpected {extra}, different content {different}")


def main() -> int:
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    binary, examples = sys.argv[1], sys.argv[2]
    picture = sys.argv[3] if len(sys.argv) > 3 else os.path.abspath("desktop_session_failure.png")
    for tool in ("Xvfb", "xdotool"):
        if not shutil.which(tool):
            print(f"skipped: {tool} is not installed (scripts/install-deps.sh installs it)")
            return 77

    # A test run stopped from outside still takes the server and the program down.
    def stop(signum, _frame):
        raise Failure(f"stopped by signal {signum}")

    def too_long(_signum, _frame):
        raise Failure(f"the session took over {WHOLE_RUN} s")

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGALRM, too_long)
    signal.alarm(WHOLE_RUN)

    started = time.monotonic()
    # Directly below /tmp, so the directory chooser reaches it in two steps from "/".
    scratch = tempfile.mkdtemp(prefix="nadelix-e2e-", dir="/tmp")
    desktop = None
    session = None
    try:
        desktop = Desktop(scratch)
        session = Session(desktop)
        run(session, binary, examples, scratch)
    except Failure as failure:
        step = session.step if session else "start the X server"
        print(f"FAILED in step '{step}': {failure}", file=sys.stderr)
        if desktop is not None:
            try:
                desktop.screenshot(picture)
                print(f"picture of the screen: {picture}", file=sys.stderr)
            except Exception as error:  # the picture only helps; the failure is reported
                print(f"(no picture of the screen: {error})", file=sys.stderr)
            print("program output:\n" + desktop.program_output(), file=sys.stderr)
        return 1
    finally:
        signal.alarm(0)
        if desktop is not None:
            desktop.close()
        shutil.rmtree(scratch, ignore_errors=True)
    print(f"desktop session passed in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())

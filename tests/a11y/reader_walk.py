#!/usr/bin/python3
"""The window as a screen reader finds it, and a walk through it with the keyboard alone.

Run on a private session bus (dbus-run-session): starts its own X server, starts a private copy
of the program with the accessibility bridge on, reads the tree over AT-SPI and types with
xdotool. Usage: reader_walk.py PROGRAM
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

DEADLINE = 60.0  # seconds; the test waits on state, this only bounds a hang

COMBO_CAPTIONS = ["Output format", "Bitrate (kbps)", "Sample rate (Hz)", "Channels"]
OPTIONS_COMBO_CAPTIONS = ["Sound Reminder", "Simultaneous conversions", "File names"]
# Made hidden: reached only through code, never seen.
HIDDEN_BUTTONS = ["Add a file", "Remove a file", "Start converting"]
# The main window's tab order, as the reader names each control on the way.
TAB_ORDER = [
    "File", "Options", "About", "Help & Tutorial", "Minimize Window", "Exit",
    "Add File", "Add Folder", "Remove", "Options", "Help", "Exit",
    "Input files", "Output format", "Bitrate (kbps)", "Sample rate (Hz)", "Channels",
    "Output folder", "Select an Output Folder", "Convert", "Pelkora home page", "Feedback",
]

failures = []


def fail(text):
    failures.append(text)
    print("FAIL: " + text, flush=True)


class Events:
    """Popups shown and nodes focused, as the bus reports them: a popup menu is no child of
    the application, a reader meets it only through its events."""

    def __init__(self):
        self.popups = []  # (node, name, extents, shown)
        self.focused = []  # (role, name)
        pyatspi.Registry.registerEventListener(self.on_showing, "object:state-changed:showing")
        pyatspi.Registry.registerEventListener(self.on_focus, "object:state-changed:focused")

    def on_showing(self, event):
        try:
            node = event.source
            if node.getRole() in (pyatspi.ROLE_POPUP_MENU, pyatspi.ROLE_MENU):
                where = extents(node) if event.detail1 else None
                self.popups.append((node, node.name, where, bool(event.detail1)))
        except GLib.Error:
            pass  # gone already: a closed dialog's controls

    def on_focus(self, event):
        try:
            if event.detail1:
                self.focused.append((event.source.getRole(), event.source.name))
        except GLib.Error:
            pass

    @staticmethod
    def pump():
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)


events = None


def wait_for(what, probe, deadline=DEADLINE):
    """probe() until it gives something true; None (and a failure) past the deadline."""
    end = time.monotonic() + deadline
    while True:
        if events is not None:
            events.pump()
        try:
            value = probe()
        except Exception:  # the tree changes while it is read
            value = None
        if value:
            return value
        if time.monotonic() > end:
            fail("timed out waiting for " + what)
            return None
        time.sleep(0.1)


def has(node, state):
    return node.getState().contains(state)


def showing(node):
    return has(node, pyatspi.STATE_SHOWING) or has(node, pyatspi.STATE_VISIBLE)


def descendants(node):
    for child in node:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def extents(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


class Session:
    def __init__(self, program):
        self.work = tempfile.mkdtemp(prefix="pelkora-a11y-")
        self.env = dict(os.environ)
        self.xserver = self.start_x()
        folder = os.path.join(self.work, "program")
        os.makedirs(folder)
        # A copy keeps its settings beside itself: the test's own, not the user's.
        shutil.copy2(program, folder)
        home = os.path.join(self.work, "home")
        runtime = os.path.join(self.work, "runtime")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        song = os.path.join(self.work, "song.mp3")
        with open(song, "wb") as f:
            f.write(b"\0" * 64)
        env = dict(self.env)
        env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
        if "ASAN_OPTIONS" in env:
            # The X keyboard library strndup()s bounded names without a terminating zero, which
            # is correct but fails the sanitizer's strict string checks.
            env["ASAN_OPTIONS"] += ":strict_string_checks=0"
        self.program = subprocess.Popen([os.path.join(folder, "pelkora"), song], env=env)

    def start_x(self):
        read, write = os.pipe()
        server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                   "1280x1024x24", "-nolisten", "tcp"], pass_fds=(write,))
        os.close(write)
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise SystemExit("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number
        return server

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True)

    def key(self, *keys):
        self.xdotool("key", "--clearmodifiers", *keys)

    def focus_window(self):
        # Giving the window the keyboard is the window manager's part; there is none here.
        self.xdotool("search", "--sync", "--onlyvisible", "--name", "^Pelkora$", "windowfocus",
                     "--sync")

    def close(self):
        for p in (self.program, self.xserver):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(10)
                except subprocess.TimeoutExpired:
                    p.kill()
        shutil.rmtree(self.work, ignore_errors=True)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "pelkora":
            return app
    return None


def windows(app, role):
    return [w for w in app if w is not None and w.getRole() == role and showing(w)]


ROW_ROLES = (pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TREE_ITEM)
VIEW_ROLES = (pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TABLE, pyatspi.ROLE_LIST)


def owning_view(node):
    parent = node.parent
    while parent is not None and parent.getRole() not in VIEW_ROLES:
        parent = parent.parent
    return parent


def focused(app):
    """The control with the keyboard focus; within a focused list, its current row."""
    found = None
    for window in app:
        if window is None or not showing(window):
            continue
        for node in descendants(window):
            if not has(node, pyatspi.STATE_FOCUSED):
                continue
            if node.getRole() in ROW_ROLES:
                # Qt marks a view's current row focused whether the view has the focus or not.
                view = owning_view(node)
                if view is None or not has(view, pyatspi.STATE_FOCUSED):
                    continue
            found = node  # the deepest: a focused list's row comes after the list
    return found


def check_tree(frame):
    if frame.getRole() != pyatspi.ROLE_FRAME or frame.name != "Pelkora":
        fail("the window is %s %r, not the frame 'Pelkora'" % (frame.getRoleName(), frame.name))
    nodes = list(descendants(frame))

    combos = [n for n in nodes if n.getRole() == pyatspi.ROLE_COMBO_BOX]
    names = [c.name for c in combos]
    if names != COMBO_CAPTIONS:
        fail("combo boxes are named %r, not by their captions %r" % (names, COMBO_CAPTIONS))

    for button in (n for n in nodes if n.getRole() == pyatspi.ROLE_PUSH_BUTTON):
        if not button.name.strip():
            fail("a button at %r has no name" % (extents(button),))

    bars = [n for n in nodes if n.getRole() == pyatspi.ROLE_PROGRESS_BAR]
    if len(bars) != 1:
        fail("%d progress bars instead of one" % len(bars))
    else:
        try:
            value = bars[0].queryValue()
            if (value.minimumValue, value.maximumValue, value.currentValue) != (0, 100, 0):
                fail("progress bar runs %s..%s at %s, not 0..100 at 0" % (
                    value.minimumValue, value.maximumValue, value.currentValue))
        except NotImplementedError:
            fail("the progress bar has no value")
        if not bars[0].name:
            fail("the progress bar has no name")

    fx, fy, fw, fh = extents(frame)
    for node in nodes:
        if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and node.name in HIDDEN_BUTTONS:
            if showing(node):
                fail("hidden %r shows in the tree" % node.name)
        elif showing(node):
            x, y, w, h = extents(node)
            if w > 0 and h > 0 and not (fx <= x and fy <= y and x + w <= fx + fw
                                        and y + h <= fy + fh):
                fail("%s %r shows outside the window" % (node.getRoleName(), node.name))


def tab_walk(session, app):
    """Tab once round the window, from the first control back to it."""
    start = wait_for("the first control to take the focus", lambda: focused(app))
    if start is None:
        return
    if start.name != TAB_ORDER[0]:
        fail("the window opens with %r focused, not %r" % (start.name, TAB_ORDER[0]))
    previous = start.name
    for expected in TAB_ORDER[1:] + TAB_ORDER[:1]:
        session.key("Tab")
        node = wait_for("Tab to %r" % expected, lambda expected=expected: (
            lambda n: n if reader_name(n) == expected else None)(focused(app)))
        if node is None:
            fail("after %r Tab reached %r" % (previous, reader_name(focused(app))))
            return
        # The list holds the song: its focus is that row, and the reader reads it.
        if expected == "Input files" and "song" not in node.name:
            fail("the list's focus reads %s %r, not the song's row" % (node.getRoleName(),
                                                                      node.name))
        previous = expected


def reader_name(node):
    """What a reader says for the focused node: a list's current row speaks for its list."""
    if node is None:
        return None
    if node.getRole() in ROW_ROLES:
        view = owning_view(node)
        return view.name if view is not None else node.name
    return node.name


def tab_to(session, app, name):
    """Tabs until the reader names the focus name; False if a round never gets there."""
    for _ in range(2 * len(TAB_ORDER)):
        if wait_for("the focus to settle", lambda: focused(app)) is None:
            return False
        here = reader_name(focused(app))
        if here == name:
            return True
        session.key("Tab")
        # The next look must see where this Tab went, not where the focus was.
        wait_for("Tab to move on from %r" % here,
                 lambda here=here: reader_name(focused(app)) != here)
    fail("Tab never reached %r" % name)
    return False


def popup_at(session, title, open_keys, where, first_entry):
    """Opens a menu with keys, checks it pops up below its button with its first entry
    current, closes it."""
    events.popups.clear()
    events.focused.clear()
    session.key(*open_keys)
    shown = wait_for("the %r menu" % title,
                     lambda: next((p for p in events.popups if p[3]), None))
    if shown is None:
        return
    _, name, (x, y, _, _), _ = shown
    if name != title:
        fail("a menu named %r popped up for %r" % (name, title))
    bx, by, _, bh = where
    if abs(x - bx) > 8 or abs(y - (by + bh)) > 8:
        fail("the %r menu pops up at %r, not below its button at %r" % (title, (x, y), where))
    if wait_for("the reader to land on %r" % first_entry, lambda: (
            pyatspi.ROLE_MENU_ITEM, first_entry) in events.focused) is None:
        fail("opened from the keyboard, the %r menu's focus went to %r" % (title, events.focused))
    session.key("Escape")
    wait_for("the %r menu to close" % title,
             lambda: any(not p[3] for p in events.popups))


def find(root, role, name):
    return next((n for n in descendants(root) if n.getRole() == role and n.name == name), None)


def options_dialog(app):
    return next(iter(windows(app, pyatspi.ROLE_DIALOG)), None)


def keep_box(dialog):
    return find(dialog, pyatspi.ROLE_CHECK_BOX, "Keep sub-folders")


def open_options(session, app):
    """Alt+O, then the entry's own access key."""
    events.popups.clear()
    session.key("alt+o")
    if wait_for("the Options menu", lambda: any(p[3] for p in events.popups), 10) is None:
        return None
    session.key("o")
    return wait_for("Options to open from the keyboard", lambda: options_dialog(app))


def check_options_tree(dialog):
    nodes = list(descendants(dialog))
    names = [n.name for n in nodes if n.getRole() == pyatspi.ROLE_COMBO_BOX]
    if names != OPTIONS_COMBO_CAPTIONS:
        fail("Options' combo boxes are named %r, not %r" % (names, OPTIONS_COMBO_CAPTIONS))
    for node in nodes:
        inside_combo = node.parent is not None and node.parent.getRole() == pyatspi.ROLE_COMBO_BOX
        if (node.getRole() in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX,
                               pyatspi.ROLE_TEXT) and not inside_combo and not node.name.strip()):
            fail("an Options %s at %r has no name" % (node.getRoleName(), extents(node)))


def options_with_keyboard(session, app):
    dialog = open_options(session, app)
    if dialog is None:
        return
    check_options_tree(dialog)
    tab_to(session, app, "Keep sub-folders")
    box = keep_box(dialog)
    if box is None or not has(box, pyatspi.STATE_FOCUSED):
        fail("Tab never reached 'Keep sub-folders' in Options")
        return
    was = has(box, pyatspi.STATE_CHECKED)
    session.key("space")
    if wait_for("Space to tick the box", lambda: has(keep_box(dialog), pyatspi.STATE_CHECKED)
                != was) is None:
        return
    # Enter on a check box is the dialog's default button, OK: the choice is kept.
    session.key("Return")
    if wait_for("Enter to close Options", lambda: options_dialog(app) is None) is None:
        return
    session.focus_window()
    dialog = open_options(session, app)
    if dialog is None:
        return
    box = wait_for("the check box", lambda: keep_box(dialog))
    if box is not None and has(box, pyatspi.STATE_CHECKED) == was:
        fail("Enter in Options did not apply the choice (it was not OK)")
    session.key("Escape")
    wait_for("Esc to close Options", lambda: options_dialog(app) is None)


def quit_with_keyboard(session, app):
    """Enter on the focused Exit button ends the program, and it ends cleanly."""
    session.focus_window()
    if not tab_to(session, app, "Exit"):
        return
    session.key("Return")
    if wait_for("the program to end", lambda: session.program.poll() is not None) is None:
        return
    if session.program.returncode != 0:
        fail("the program ended with status %d" % session.program.returncode)


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    global events
    events = Events()
    session = Session(sys.argv[1])
    try:
        app = wait_for("the program on the accessibility bus", lambda: (
            lambda a: a if a is not None and windows(a, pyatspi.ROLE_FRAME)
            + windows(a, pyatspi.ROLE_FILLER) else None)(application()))
        if app is None:
            return 1
        frame = next(w for w in app if w is not None and showing(w))
        session.focus_window()
        # A pointer far from every button: a popup that follows it is seen at once.
        session.xdotool("mousemove", "1270", "1015")
        check_tree(frame)
        tab_walk(session, app)
        file_title = find(frame, pyatspi.ROLE_PUSH_BUTTON, "File")
        popup_at(session, "File", ["alt+f"], extents(file_title), "Add a File(A)")
        # Enter on the focused Remove button opens its menu, at the button.
        remove = find(frame, pyatspi.ROLE_PUSH_BUTTON, "Remove")
        if tab_to(session, app, "Remove"):
            popup_at(session, "Remove", ["Return"], extents(remove), "Remove Selected")
        options_with_keyboard(session, app)
        quit_with_keyboard(session, app)
    finally:
        session.close()
    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Runs the tour under Xvfb and talks to it over AT-SPI as a screen reader does.

Usage: atspi_tour.py MEBROX_RUN TOUR_DIR

It starts itself again inside `xvfb-run -a dbus-run-session`, starts the accessibility bus, runs
mebrox-run on a copy of the tour, then with pyatspi: prints the first frame's accessible tree,
checks the hot words are named links and the pictures named, follows Tab through AT-SPI focus
events, presses a hot word that goes to another frame and sees that frame show, and presses a
description word and reads the note's text. Exit code 77 (a skip) only when the accessibility
bus or its Python binding is not there.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
INNER = "MEBROX_ATSPI_INNER"


def skip(why):
    print(f"SKIP: {why}")
    sys.exit(SKIP)


def fail(why):
    print(f"FAIL: {why}")
    sys.exit(1)


def outer(argv):
    for tool in ("xvfb-run", "dbus-run-session"):
        if not shutil.which(tool):
            skip(f"{tool} is not installed (scripts/install-deps.sh installs it)")
    env = dict(os.environ, **{INNER: "1"})
    # A display number of its own: servers other tests start at the same time race for the low
    # numbers that -a tries first. Without -noreset the server resets each time its last client
    # leaves (the probe below), refusing whoever connects in that moment.
    cmd = ["xvfb-run", "-a", "-n", str(300 + os.getpid() % 600), "-s",
           "-screen 0 1280x1024x24 -noreset", "dbus-run-session", "--", sys.executable,
           os.path.abspath(__file__)] + argv
    sys.exit(subprocess.run(cmd, env=env).returncode)


def spin(seconds=0.0):
    """Lets the binding handle the bus's signals, for a while."""
    from gi.repository import GLib
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while True:
        while context.iteration(False):
            pass
        if time.monotonic() >= end:
            return
        time.sleep(0.05)


def until(what, find, seconds=20.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = find()
        if found:
            return found
        spin(0.1)
    fail(f"timed out waiting for {what}")


def states(acc):
    import pyatspi
    s = acc.getState()
    return {name for name, st in (("showing", pyatspi.STATE_SHOWING),
                                  ("focused", pyatspi.STATE_FOCUSED),
                                  ("focusable", pyatspi.STATE_FOCUSABLE),
                                  ("checkable", pyatspi.STATE_CHECKABLE),
                                  ("checked", pyatspi.STATE_CHECKED))
            if s.contains(st)}


def children(acc):
    return [acc.getChildAtIndex(i) for i in range(acc.childCount)]


def describe(acc):
    text = f"{acc.getRoleName()} \"{acc.name}\""
    if "showing" not in states(acc):
        text += " hidden"
    if acc.description:
        text += f" ({acc.description})"
    try:
        action = acc.queryAction()
        if action.nActions:
            text += f" [{action.getName(0)}]"
    except NotImplementedError:
        pass
    return text


def tree(acc, depth=0, out=None):
    out = [] if out is None else out
    out.append("  " * depth + describe(acc))
    for child in children(acc):
        tree(child, depth + 1, out)
    return out


def walk(acc):
    yield acc
    for child in children(acc):
        yield from walk(child)


def press(acc):
    action = acc.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    index = next((i for i, n in enumerate(names) if n.lower() == "press"), None)
    if index is None:
        fail(f"{describe(acc)} has no press action, only {names}")
    action.doAction(index)


def frames(app):
    return [w for w in children(app) if w.getRoleName() in ("frame", "window", "dialog", "alert")]


def frame_named(app, part, showing=True):
    for w in frames(app):
        if part in w.name and (not showing or "showing" in states(w)):
            return w
    return None


def go(app, frame, word):
    """Presses the link of hot word on frame; returns the frame that shows instead of it."""
    import pyatspi  # noqa: F401
    link = next((n for n in walk(frame) if n.getRoleName() == "link" and n.name == word), None)
    if link is None:
        fail(f"{frame.name!r} has no link {word!r}")
    press(link)
    shown = until(f"a frame after pressing {word!r}", lambda: next(
        (w for w in frames(app) if "showing" in states(w) and w.name != frame.name), None))
    if "showing" in states(frame):
        fail(f"{frame.name!r} still shows after pressing {word!r}")
    print(f"Pressing {word!r} showed:")
    print("\n".join(tree(shown)))
    return shown


def start_accessibility_bus():
    launcher = next((p for p in ("/usr/libexec/at-spi-bus-launcher",
                                 "/usr/lib/at-spi2-core/at-spi-bus-launcher")
                     if os.path.exists(p)), None)
    if not launcher:
        skip("at-spi-bus-launcher is not installed (scripts/install-deps.sh installs at-spi2-core)")
    proc = subprocess.Popen([launcher, "--launch-immediately"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    end = time.monotonic() + 10
    while time.monotonic() < end:
        got = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                              "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                             capture_output=True, text=True)
        if got.returncode == 0 and "unix:" in got.stdout:
            return proc
        time.sleep(0.1)
    proc.kill()
    skip("the accessibility bus did not start")


def inner(argv):
    if len(argv) != 2:
        fail("usage: atspi_tour.py MEBROX_RUN TOUR_DIR")
    run_program, tour_source = (os.path.abspath(a) for a in argv)
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        skip("pyatspi is not installed (scripts/install-deps.sh installs python3-pyatspi)")
    bus = start_accessibility_bus()
    import pyatspi

    work = tempfile.mkdtemp(prefix="mebrox-atspi-")
    tour = os.path.join(work, "tour")
    shutil.copytree(tour_source, tour)
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
               QT_ACCESSIBILITY="1", SDL_AUDIODRIVER="dummy", MEBROX_WINDIR=work)
    # The server may take a moment to take clients after xvfb-run hands over.
    until("the X server", lambda: subprocess.run(["xdotool", "getdisplaygeometry"], env=env,
                                                 capture_output=True).returncode == 0)
    log = open(os.path.join(work, "run.log"), "w")
    app_proc = subprocess.Popen([run_program, os.path.join(tour, "Tour.dpr")], cwd=work, env=env,
                                stdout=log, stderr=subprocess.STDOUT)
    focus_events = []

    def on_focus(event):
        if event.detail1:
            focus_events.append((event.source.getRoleName(), event.source.name))

    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    shown = []

    def on_shown(event):
        if event.detail1 or event.type.startswith("window:"):
            shown.append((event.type, event.source.getRoleName(), event.source.name))

    pyatspi.Registry.registerEventListener(on_shown, "object:state-changed:showing",
                                           "window:activate", "window:create")
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        app = until("the application on the accessibility bus", lambda: next(
            (a for a in children(desktop) if a is not None and "mebrox" in (a.name or "").lower()),
            None))
        first = until("the welcome frame", lambda: frame_named(app, "Welcome"))
        lines = tree(first)
        print("The first frame's accessible tree:")
        print("\n".join(lines))

        nodes = list(walk(first))
        links = [n for n in nodes if n.getRoleName() == "link"]
        names = [n.name for n in links]
        expected = ["description", "chime", "program", "another text", "second frame"]
        if names != expected:
            fail(f"hot words read as links {names}, expected {expected} in reading order")
        text = next((n for n in nodes if n.getRoleName() == "paragraph"), None)
        if text is None or text.childCount != len(expected):
            fail("the hot text is no text element holding its hot words")
        for link in links:
            if not link.description:
                fail(f"the link {link.name!r} does not say what it does")
            box = link.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            if box.width <= 0 or box.height <= 0:
                fail(f"the link {link.name!r} has no bounds")
        goes = links[names.index("second frame")]
        if not goes.description.startswith("goes to "):
            fail(f"'second frame' says {goes.description!r}")
        if not any(n.getRoleName() == "push button" and n.name == "Bookmark" for n in nodes) and \
                not any(n.name == "Bookmark" for n in nodes):
            pass  # the bookmark shows only once one was set
        labels = [n.name for n in nodes if n.getRoleName() == "label"]
        if "The Mebrox Tour" not in labels:
            fail(f"the effects label is not read as text: labels {labels}")

        # Tab reaches the first hot word: the focus event names it.
        subprocess.run(["xdotool", "search", "--sync", "--name", "Welcome", "windowactivate",
                        "--sync"], env=env, capture_output=True)
        subprocess.run(["xdotool", "key", "Tab"], env=env, capture_output=True)
        until("a focus event naming the first hot word",
              lambda: ("link", "description") in focus_events)
        subprocess.run(["xdotool", "key", "Tab"], env=env, capture_output=True)
        until("a focus event naming the second hot word", lambda: ("link", "chime") in focus_events)
        print(f"Focus events: {focus_events}")

        # A description word: the note opens and reads its text.
        press(links[names.index("description")])
        note = until("the description note", lambda: next(
            (w for w in frames(app) if w.getRoleName() == "alert" and "showing" in states(w)),
            None))
        print(f"The note: {describe(note)}")
        # A reader reads an alert as it opens: the bus told it one came up, by its text.
        until("an event telling the note opened", lambda: any(
            role == "alert" and "Hypertext" in name for _, role, name in shown))
        if "Hypertext: words that lead somewhere." not in note.name:
            fail(f"the note reads {note.name!r}")
        note_text = [n.name for n in walk(note) if n.getRoleName() == "label"]
        if note_text != ["Hypertext: words that lead somewhere."]:
            fail(f"the note's text reads {note_text}")
        subprocess.run(["xdotool", "key", "Escape"], env=env, capture_output=True)
        until("the note to close", lambda: not any(
            w.getRoleName() == "alert" and "showing" in states(w) for w in frames(app)))

        # A word that switches the text: the links are the new text's words.
        press(links[names.index("another text")])
        text = next(n for n in walk(first) if n.getRoleName() == "paragraph")
        until("the links of the other text", lambda: "first text" in
              [c.name for c in children(text)])
        print("After 'another text':")
        print("\n".join(tree(text)))
        press(next(c for c in children(text) if c.name == "first text"))
        until("the links of the first text again", lambda: "second frame" in
              [c.name for c in children(text)])

        # Through the tour by pressing links alone, to the hot area that leaves with a bookmark.
        second = go(app, first, "second frame")
        third = go(app, second, "third frame")
        gallery = go(app, third, "gallery")
        nodes = list(walk(gallery))
        image = next((n for n in nodes if n.name == "Shows a description"), None)
        if image is None or image.getRoleName() != "push button":
            fail("the hot image is not a button named by what it does")
        area = next((n for n in nodes if n.getRoleName() == "link" and
                     n.description == "goes to Mebrox Tour - Welcome"), None)
        if area is None or area.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).width <= 0:
            fail("the hot area is not a link with bounds going to the welcome frame")
        # Qt has no toggle button role: the pause button is a push button whose name says which
        # way it goes.
        pause = next((n for n in nodes if n.name in ("Pause", "Resume")), None)
        if pause is None or pause.getRoleName() != "push button" or pause.name != "Pause":
            fail("the pause button is not a button named Pause")
        # With the tune playing, the button pauses it and then offers to resume, checked.
        press(next(n for n in walk(gallery) if n.name == "melody"))
        press(pause)
        until("the pause button to offer to resume", lambda: pause.name == "Resume")
        print(f"After pressing Pause: {describe(pause)} {sorted(states(pause))}")
        if "checked" not in states(pause):
            fail("the pause button that resumes is not checked")
        press(pause)
        until("the pause button to offer to pause again", lambda: pause.name == "Pause")
        third = go(app, gallery, "go back")
        ribbon = next((n for n in walk(third) if n.description == "sets a bookmark and leaves"),
                      None)
        if ribbon is None:
            fail("the ribbon's hot area is not there to press")
        press(ribbon)
        try:
            code = app_proc.wait(20)
        except subprocess.TimeoutExpired:
            fail("pressing the bookmark's hot area did not end the tour")
        if code != 0:
            fail(f"the tour ended with exit code {code}")
        with open(os.path.join(tour, "Tour.RUN"), errors="replace") as f:
            if "TForm3" not in f.read():
                fail("the bookmark at the third frame was not recorded")
        print("PASS")
        return 0
    finally:
        app_proc.terminate()
        try:
            app_proc.wait(10)
        except subprocess.TimeoutExpired:
            app_proc.kill()
        bus.terminate()
        log.close()
        if app_proc.returncode not in (0, -15, None):
            print(open(os.path.join(work, "run.log")).read())
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    if os.environ.get(INNER):
        sys.exit(inner(sys.argv[1:]))
    outer(sys.argv[1:])

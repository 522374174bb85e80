#!/usr/bin/env python3
"""Design-time fuzzer: random, mostly well-formed studio scripts and mutated project files.

Each case copies the tour into a scratch folder and drives `mebrox-studio --headless` over it:

* script cases: a script over every verb of the studio, every palette class, every property the
  object inspector shows (ordinary and hostile values), the editors' dialogs, undo/redo, save and
  Save As;
* file cases: a mutated sections file (Tour.INI, through the Project Thumbnail Expert), project
  file (Tour.dpr) or word list (.wls, through the words editor's Load and Save).

The oracle: no signal, no sanitizer report, no hang; exit code 0, 2 (a line named something the
design did not have) or 1 with the program's own message. After every save the project reopens
and a second save writes nothing, and `mebrox-run --check` ends without a signal. A file a dialog
read without a word of damage keeps every group, frame and hot word it held.

Every case has its own seed; a failing case is kept in OUT/findings with its script, its files
and a replay script. Python 3 standard library only.
"""

import argparse
import concurrent.futures
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
SOURCE_ROOT = HERE.parent.parent
DIALOG_FORMS = SOURCE_ROOT / "resources" / "forms"

SANITIZER_MARKS = (b"ERROR: AddressSanitizer", b"ERROR: LeakSanitizer", b"runtime error:",
                   b"ERROR: UndefinedBehaviorSanitizer", b"AddressSanitizer:DEADLYSIGNAL")
# Texts of exceptions that are not the kit's own: shown to the designer, they mean a fault.
INTERNAL_ERROR_MARKS = ("basic_string", "vector::", "std::", "bad_alloc", "out_of_range",
                        "stoi", "bad_function_call", "bad_variant", "map::at",
                        "Access violation", "nullptr", "null pointer")

# ---------------------------------------------------------------------------------------------
# What the studio offers

def load_catalog(build, cache_dir):
    """The palette, properties and experts, as mebrox-design-catalog lists them."""
    program = build / "tests" / "apps" / "mebrox-design-catalog"
    cache = cache_dir / "catalog.json"
    if cache.exists() and cache.stat().st_mtime >= program.stat().st_mtime:
        return json.loads(cache.read_text())
    with tempfile.TemporaryDirectory() as windir:
        env = program_env(Path(windir))
        result = subprocess.run([str(program)], capture_output=True, env=env, timeout=300)
    if result.returncode != 0:
        sys.exit("mebrox-design-catalog failed:\n" + result.stderr.decode(errors="replace"))
    cache.write_bytes(result.stdout)
    return json.loads(result.stdout)


def parse_dialog_forms():
    """Each dialog's controls from its layout: class, and the notebook page it sits on."""
    dialogs = {}
    for path in sorted(DIALOG_FORMS.glob("*.dfm")):
        controls = {}
        pages = {}
        stack = []  # (kind, name): kind is 'object', 'page' or 'other'
        page_count = {}
        root = None
        for raw in path.read_text(errors="replace").splitlines():
            line = raw.strip()
            m = re.match(r"object (\w+): (\w+)$", line)
            if m:
                name, cls = m.groups()
                if root is None:
                    root = name
                notebook = page = None
                for kind, info in reversed(stack):
                    if kind == "page":
                        notebook, page = info
                        break
                controls[name] = {"class": cls, "notebook": notebook, "page": page}
                stack.append(("object", name))
                continue
            m = re.match(r"object (T\w+)$", line)
            if m:
                parent = next((info for kind, info in reversed(stack) if kind == "object"), None)
                if m.group(1) == "TPage" and parent is not None:
                    index = page_count.get(parent, 0)
                    page_count[parent] = index + 1
                    pages.setdefault(parent, []).append("")
                    stack.append(("page", (parent, index)))
                else:
                    stack.append(("other", None))
                continue
            m = re.match(r"Caption = '(.*)'$", line)
            if m and stack and stack[-1][0] == "page":
                parent, index = stack[-1][1]
                pages[parent][index] = m.group(1).replace("''", "'")
                continue
            if line == "end" and stack:
                stack.pop()
        if root:
            dialogs[root] = {"controls": controls, "pages": pages}
    return dialogs


# ---------------------------------------------------------------------------------------------
# Values

ORDINARY_WORDS = ["Intro", "Gallery", "Hello", "Welcome back", "Next page", "A cat and a dog",
                  "second frame", "Chime", "Go home", "x", "Tour", "Read me", "café", "Noël"]
HOSTILE_STRINGS = [
    "", " ", "  padded  ", "x" * 129, "y" * 300, "z" * 5000, "Ünïcödé ✓ 中文 🎵",
    "\u202eevil\u202c", "'", "''", "it's", "#13#10", "#0", "'#13'", "{}", "{89504E47}", "(",
    ")", "\\", "\\\\server\\share\\x", "..", "../../etc", "%s%n%x%d", "$(id)", "`id`", "\t",
    "a\tb", "\x01\x02\x03", "line\rbreak", "\x7f", "~", "=", "[Status]", "&&&", "&", "\u00a0",
    "\ufeffbom", "a" * 90, "b" * 91, "c" * 128,
]
# Bytes that are no UTF-8: scripts are bytes, and so are the kit's strings.
HOSTILE_BYTES = [b"\xff\xfe", b"caf\xe9", b"\xc3", b"\xed\xa0\x80", b"a\x00b"]
# The files a file case mutates, taken in turn: the sections file, the project file, a word
# list, and the default settings file.
FILE_KINDS = ["ini", "dpr", "wls", "settings"]
HOSTILE_NUMBERS = ["2147483647", "-2147483648", "2147483648", "-2147483649",
                   "99999999999999999999", "32767", "32768", "-32768", "-32769", "65535",
                   "65536", "-1", "0", "", "abc", "1.5", "0x10", "$10", "+5", " 5", "1e3", "-0",
                   "--1", "٣"]
FONT_NAMES = ["Arial", "Times New Roman", "Courier New", "MS Sans Serif", "DejaVu Sans", "Nope"]
FILE_NAMES = ["hello.sh", "missing.exe", "notes.txt", "Intro.txt", "chime.wav", "melody.wav",
              "First.wls", "Second.wls", "sub/dir/file.txt"]
WAVES = ["chime.wav", "melody.wav", "missing.wav", "Tour.dpr", ""]
# Keys for a dialog's controls; Enter, Escape and Space are left out, since they may close it.
KEYS = ["Tab", "Shift+Tab", "Backspace", "Delete", "Insert", "Home", "End", "PageUp", "PageDown",
        "Up", "Down", "Left", "Right", "Ctrl+A", "Ctrl+C", "Ctrl+V", "Ctrl+X", "Ctrl+Z",
        "Shift+Right", "Shift+End", "Ctrl+Shift+Right", "F1", "Ctrl+Tab", "Ctrl+Up",
        "Ctrl+Down", "A", "7"]


def quote(value):
    """value (str or bytes) as one script word: quoted, since the script has no escapes."""
    if isinstance(value, str):
        value = value.encode()
    value = value.replace(b'"', b"'").replace(b"\n", b" ")
    return b'"' + value + b'"'


def word(value):
    return value.encode() if isinstance(value, str) else value


class Values:
    """Values for properties and dialog fields: mostly ordinary, sometimes hostile."""

    def __init__(self, rng, hostile_rate):
        self.rng = rng
        self.hostile_rate = hostile_rate

    def hostile(self):
        return self.rng.random() < self.hostile_rate

    def text(self, ordinary=None):
        r = self.rng
        if self.hostile():
            if r.random() < 0.15:
                return r.choice(HOSTILE_BYTES)
            return r.choice(HOSTILE_STRINGS)
        return r.choice(ordinary or ORDINARY_WORDS)

    def number(self, low, high):
        if self.hostile():
            return self.rng.choice(HOSTILE_NUMBERS)
        return str(self.rng.randint(low, high))

    def name(self, taken):
        r = self.rng
        if self.hostile():
            return r.choice(["1x", "a b", "", "x.y", "Ü", "_", "A" * 300, "Form1", "T" + "x" * 64]
                            + list(taken)[:3])
        for _ in range(20):
            candidate = r.choice(["Fz", "Item", "Hot", "Part"]) + str(r.randint(1, 99))
            if candidate.lower() not in {t.lower() for t in taken}:
                return candidate
        return "Fz" + str(r.randint(1000, 9999))


# ---------------------------------------------------------------------------------------------
# The script generator


def tiny_png():
    """A 2 x 2 picture, the smallest a picture editor loads."""
    import struct
    import zlib

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    rows = b"".join(b"\x00" + b"\xff\x80\x00" * 2 for _ in range(2))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 2, 2, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


class Form:
    def __init__(self, name, components):
        self.name = name
        self.components = dict(components)  # lower-case name -> (name, class)
        self.selection = []  # lower-case names; empty: the form
        self.undo = []
        self.redo = []
        # False once a change was made that the model cannot tell was recorded (an editor's
        # dialog, an order that may already have been so): undo lines would miss their step.
        self.undo_known = True
        self.values = {}  # (lower-case component name or "", lower-case path) -> text

    def snapshot(self):
        return self.name, dict(self.components)

    def find(self, name):
        return self.components.get(name.lower())


def tour_forms(tour):
    """The frames of the tour and the components each owns, read from its form files."""
    forms = {}
    for dfm in sorted(tour.glob("Unit*.dfm")):
        lines = dfm.read_text(errors="replace").splitlines()
        m = re.match(r"object (\w+): T(\w+)", lines[0])
        if not m:
            continue
        components = {}
        values = {}
        owner = ""
        for line in lines[1:]:
            c = re.match(r"\s+object (\w+): (\w+)", line)
            if c:
                components[c.group(1).lower()] = (c.group(1), c.group(2))
                owner = c.group(1).lower()
                continue
            p = re.match(r"\s+([\w.]+) = (.+)$", line)
            if p and not p.group(2).endswith("("):
                value = p.group(2)
                if value.startswith("'") and value.endswith("'"):
                    value = value[1:-1].replace("''", "'")
                values[(owner, p.group(1).lower())] = value
        forms[m.group(1).lower()] = Form(m.group(1), components)
        forms[m.group(1).lower()].values = values
    return forms


class ScriptGenerator:
    """One script from one seed, over a model of the design that follows its own lines."""

    def __init__(self, seed, catalog, dialogs, tour, hostile_rate=0.07, max_length=60):
        self.rng = random.Random(seed)
        self.values = Values(self.rng, hostile_rate)
        self.catalog = catalog
        self.classes = {c["name"]: c for c in catalog["classes"]}
        self.dialogs = dialogs
        self.forms = tour_forms(tour)
        self.units = len(self.forms)
        self.lines = []
        self.clipboard = []  # (name, class)
        self.saveas_count = 0
        self.length = self.rng.randint(min(8, max_length), max_length)
        self.closed = False  # a dialog was left open: nothing may follow
        # The project's own steps, frames added and removed: ("added" | "removed", Form).
        self.project_done = []
        self.project_undone = []
        # False once a dialog may have added a frame the model does not know of.
        self.project_known = True

    # ---- helpers

    def emit(self, *parts):
        self.lines.append(b" ".join(word(p) for p in parts))

    def form(self):
        return self.rng.choice(list(self.forms.values()))

    def component(self, form, classes=None):
        items = [v for v in form.components.values() if classes is None or v[1] in classes]
        return self.rng.choice(items) if items else None

    def any_component(self, classes):
        pairs = [(f, c) for f in self.forms.values() for c in f.components.values()
                 if c[1] in classes]
        return self.rng.choice(pairs) if pairs else (None, None)

    def changed(self, form, before, known=True):
        form.undo.append(before)
        form.redo.clear()
        form.undo_known = form.undo_known and known

    def unknown_change(self, form):
        if form is None:
            for f in self.forms.values():
                f.undo_known = False
        else:
            form.undo_known = False

    def known_value(self, form, comp, prop):
        key = (comp[0].lower() if comp else "", prop["path"].lower())
        if key in form.values:
            return form.values[key]
        return prop.get("value")

    def new_name(self, form, cls):
        base = cls[1:]
        n = 1
        while (base + str(n)).lower() in form.components or (base + str(n)).lower() == \
                form.name.lower():
            n += 1
        return base + str(n)

    def frame_names(self):
        return [f.name for f in self.forms.values()]

    def add_frame(self):
        self.units += 1
        name = "Form%d" % self.units
        while name.lower() in self.forms:
            self.units += 1
            name = "Form%d" % self.units
        self.forms[name.lower()] = Form(name, {})

    # ---- the script

    def generate(self):
        verbs = [
            (self.drop, 10), (self.set_property, 24), (self.edit_property, 9), (self.verb, 4),
            (self.dblclick, 3), (self.expert, 3), (self.select, 7), (self.move_size, 6),
            (self.clipboard_line, 9), (self.order, 2), (self.undo_redo, 6), (self.newframe, 2),
            (self.removeframe, 2), (self.addframe, 1), (self.project_undo_redo, 3),
            (self.save, 6), (self.saveas, 1), (self.pointer, 2), (self.misc, 2),
        ]
        choices = [v for v, _ in verbs]
        weights = [w for _, w in verbs]
        while len(self.lines) < self.length and not self.closed:
            self.rng.choices(choices, weights)[0]()
        if not self.closed and self.rng.random() < 0.7:
            self.emit("save")
        return b"\n".join(self.lines) + b"\n"

    def drop(self):
        form = self.form()
        cls = self.rng.choice(list(self.classes))
        x, y = self.rng.randint(0, 600), self.rng.randint(0, 440)
        if self.values.hostile():
            # Refused with a message, as a drop where no screen reaches is.
            x = self.rng.choice([32768, -32769, 2147483647, -2147483648])
            self.emit("drop", cls, form.name, str(x), str(y))
            return
        self.emit("drop", cls, form.name, str(x), str(y))
        before = form.snapshot()
        name = self.new_name(form, cls)
        form.components[name.lower()] = (name, cls)
        form.selection = [name.lower()]
        self.changed(form, before)

    def target(self):
        """A component or a frame, with its class's properties."""
        form = self.form()
        if self.rng.random() < 0.15 or not form.components:
            return form, None, self.catalog["form"]
        comp = self.component(form)
        return form, comp, self.classes.get(comp[1], {}).get("properties", [])

    def value_for(self, form, prop):
        path, kind, r = prop["path"], prop["kind"], self.rng
        last = path.split(".")[-1]
        if kind == "Integer":
            ranges = {"Left": (-50, 600), "Top": (-50, 440), "Width": (0, 700),
                      "Height": (0, 500), "TabWidth": (0, 16), "ShadowDistance": (0, 12),
                      "LinesListsIndex": (-1, 3), "WordsListsIndex": (-1, 3), "Size": (6, 40),
                      "Height.Font": (-40, -6), "Width.Pen": (0, 5), "Cursor": (-22, 2),
                      "GroupIndex": (0, 3), "Tag": (-5, 100)}
            low, high = ranges.get(last, (0, 100))
            if path.endswith("Font.Height"):
                low, high = -40, -6
            return self.values.number(low, high)
        element = kind == "Set" and last[:2].islower()  # one element of a set: in or out
        if kind in ("Boolean", "Enumeration") or element:
            values = prop["values"] or ["True", "False"]
            if self.values.hostile():
                return r.choice(["", "Maybe", "1", "tRUE", values[0] + "x", "-1"])
            return r.choice(values)
        if kind == "Set":
            names = [p["path"].split(".")[-1] for p in self.all_props(form)
                     if p["path"].startswith(path + ".")]
            if self.values.hostile():
                return r.choice(["[", "]", "[x]", "[fsBold,,]", "fsBold", "[" + ",".join(
                    names * 3) + "]"])
            picked = [n for n in names if r.random() < 0.4]
            return "[" + ", ".join(picked) + "]"
        if kind == "Color":
            if self.values.hostile():
                return r.choice(["clNope", "$", "$FFFFFFFFFF", "-1", "$-1", "0x00FF00",
                                 "2147483648", "", "cl", "$7FFFFFFF"])
            if r.random() < 0.7 and prop["values"]:
                return r.choice(prop["values"])
            return "$00%02X%02X%02X" % (r.randrange(256), r.randrange(256), r.randrange(256))
        if kind == "Component":
            comp = self.component(form)
            if self.values.hostile():
                return r.choice([comp[0] if comp else "", "Nothing1", form.name])
            return ""
        if kind == "String":
            if last == "Name":
                return self.values.name(list(form.components) + self.frame_names())
            if last == "Frame":
                return self.values.text(self.frame_names() + ["Form9", "TForm2"])
            if last == "WaveComp":
                waves = [c[0] for c in form.components.values() if c[1] == "TWavePlay"]
                return self.values.text(waves + ["WavePlay9"])
            if last == "WaveName":
                return self.values.text(WAVES)
            if last in ("FileToRun", "WorkDir"):
                return self.values.text(FILE_NAMES + ["", ".", "sub"])
            if last == "Name" or path.endswith("Font.Name"):
                return self.values.text(FONT_NAMES)
            return self.values.text()
        return self.values.text()

    def all_props(self, form, comp=None):
        if comp is None:
            return self.catalog["form"]
        return self.classes.get(comp[1], {}).get("properties", [])

    def set_property(self):
        form, comp, props = self.target()
        settable = [p for p in props if "readonly" not in p["flags"] and
                    p["kind"] not in ("Class", "Strings", "Binary")]
        if not settable:
            return
        prop = self.rng.choice(settable)
        value = self.value_for(form, prop)
        target = form.name + ("." + comp[0] if comp else "")
        self.emit("set", target, prop["path"], quote(value))
        old = self.known_value(form, comp, prop)
        form.values[(comp[0].lower() if comp else "", prop["path"].lower())] = value
        if old == value:
            return
        before = form.snapshot()
        if prop["path"] == "Name" and isinstance(value, str) and \
                re.fullmatch(r"[A-Za-z_]\w*", value):
            taken = value.lower() in form.components or value.lower() in self.forms
            if not taken:
                if comp:
                    del form.components[comp[0].lower()]
                    form.components[value.lower()] = (value, comp[1])
                    form.selection = [s if s != comp[0].lower() else value.lower()
                                      for s in form.selection]
                else:
                    del self.forms[form.name.lower()]
                    form.name = value
                    self.forms[value.lower()] = form
        self.changed(form, before, known=old is not None and isinstance(value, str))

    def edit_property(self):
        form, comp, props = self.target()
        editable = [p for p in props if "dialog" in p["flags"]]
        if not editable:
            return
        prop = self.rng.choice(editable)
        path, kind = prop["path"], prop["kind"]
        target = form.name + ("." + comp[0] if comp else "")
        last = path.split(".")[-1]
        self.unknown_change(form)
        if kind == "Color":
            if self.rng.random() < 0.8:
                self.emit("color", self.rng.choice(prop["values"] or ["clRed"]))
            self.emit("edit", target, path)
            return
        if last in ("Font", "WordFont"):
            if self.rng.random() < 0.8:
                self.font_line()
            self.emit("edit", target, path)
            return
        if last == "WaveName":
            if self.rng.random() < 0.7:
                self.emit("file", quote(self.rng.choice(WAVES[:-1] + ["sub/x.wav"])))
            self.emit("edit", target, path)
            return
        dialog = {"About": "AboutBoxDlg", "Lines": "StringsEditDlg", "Words": "WordSelectDlg",
                  "LinesLists": "FileListSelectDlg", "WordsLists": "FileListSelectDlg",
                  "Action": "ActDefDlg", "Picture": "PictureEditorDlg",
                  "Glyph": "PictureEditorDlg"}.get(last)
        self.emit("edit", target, path)
        if dialog:
            self.work_dialog(dialog, form)

    def font_line(self):
        r = self.rng
        size = str(r.randint(6, 48)) if not self.values.hostile() else r.choice(
            ["1", "4096", "4097", "100000", "2147483647"])
        styles = [s for s in ["bold", "italic", "underline", "strikeout"] if r.random() < 0.3]
        colour = [r.choice(["clRed", "clNavy", "clWhite"])] if r.random() < 0.5 else []
        self.emit("font", quote(r.choice(FONT_NAMES)), size, *styles, *colour)

    def verb(self):
        form = self.form()
        comp = self.component(form, [c for c, v in self.classes.items() if v["verbs"]])
        if not comp:
            return
        count = len(self.classes[comp[1]]["verbs"])
        index = self.rng.randrange(count + (1 if self.values.hostile() else 0))
        if comp[1] == "TWavePlay" and index == 0 and self.rng.random() < 0.7:
            self.emit("file", quote(self.rng.choice(WAVES[:-1])))
        self.emit("verb", form.name + "." + comp[0], str(index))
        self.unknown_change(form)
        if comp[1] == "TWavePlay" and index == 2:
            self.work_dialog("SoundRecorderDlg", form)

    def dblclick(self):
        form = self.form()
        comp = self.component(form)
        if not comp:
            return
        if comp[1] == "TWavePlay" and self.rng.random() < 0.7:
            self.emit("file", quote(self.rng.choice(WAVES[:-1])))
        self.emit("dblclick", form.name + "." + comp[0])
        self.unknown_change(form)
        if comp[1] in ("THyperImage", "THyperArea"):
            self.work_dialog("ActDefDlg", form)
        elif comp[1] == "TProjCtrl":
            self.work_project_management()

    def expert(self):
        menu = self.rng.choice(self.catalog["experts"])
        if "Thumbnail" in menu and self.rng.random() < 0.3:
            self.emit("answer", self.rng.choice(["yes", "no", "cancel"]))
        self.emit("expert", quote(menu))
        if "Thumbnail" in menu:
            self.work_dialog("ProjViewDlg", None)
        elif "Settings" in menu:
            self.work_dialog("INISettingsDlg", None)

    def select(self):
        form = self.form()
        comp = self.component(form)
        if not comp or self.rng.random() < 0.15:
            self.emit("select", form.name)
            form.selection = []
            return
        add = form.selection and self.rng.random() < 0.3
        self.emit("select", form.name + "." + comp[0], *(["add"] if add else []))
        key = comp[0].lower()
        if add:
            if key in form.selection:
                form.selection.remove(key)
            else:
                form.selection.append(key)
        else:
            form.selection = [key]

    def move_size(self):
        form = self.form()
        r = self.rng
        if self.values.hostile():
            dx, dy = r.choice([(40000, 0), (0, -40000), (2147483647, 1), (-2147483648, -1),
                               (32767, 32767)])
        else:
            dx, dy = r.randint(-40, 40), r.randint(-40, 40)
        verb = r.choice(["nudge", "resize"])
        self.emit(verb, form.name, str(dx), str(dy))
        if form.selection and (dx or dy):
            # Sizes stop at 0, and components that are not controls have none.
            self.changed(form, form.snapshot(), known=verb == "nudge")

    def clipboard_line(self):
        form = self.form()
        verb = self.rng.choice(["copy", "cut", "paste", "delete", "paste"])
        selected = [form.components[s] for s in form.selection if s in form.components]
        if verb in ("copy", "cut") and not selected:
            return
        if verb == "paste" and not self.clipboard:
            return
        self.emit(verb, form.name)
        before = form.snapshot()
        if verb in ("copy", "cut"):
            self.clipboard = selected
        if verb in ("cut", "delete") and selected:
            for s in form.selection:
                form.components.pop(s, None)
            form.selection = []
            self.changed(form, before)
        if verb == "paste":
            pasted = []
            for name, cls in self.clipboard:
                if name.lower() in form.components:
                    name = self.new_name(form, cls)
                form.components[name.lower()] = (name, cls)
                pasted.append(name.lower())
            form.selection = pasted
            self.changed(form, before)

    def order(self):
        form = self.form()
        self.emit(self.rng.choice(["front", "back"]), form.name)
        if form.selection:
            self.changed(form, form.snapshot(), known=False)

    def undo_redo(self):
        form = self.form()
        if not form.undo_known:
            return
        if form.undo and (not form.redo or self.rng.random() < 0.4):
            self.emit("undo", form.name)
            form.redo.append(form.snapshot())
            name, form.components = form.undo.pop()
        elif form.redo:
            self.emit("redo", form.name)
            form.undo.append(form.snapshot())
            name, form.components = form.redo.pop()
        else:
            return
        form.selection = []
        # A frame's name comes back with its text.
        del self.forms[form.name.lower()]
        form.name = name
        self.forms[name.lower()] = form

    def newframe(self):
        self.emit("newframe")
        self.add_frame()
        added = self.forms["form%d" % self.units]
        self.project_done.append(("added", added))
        self.project_undone.clear()

    def removeframe(self):
        form = self.form()
        self.emit("removeframe", form.name)
        # The project keeps its last frame: the line is refused then.
        if len(self.forms) > 1:
            del self.forms[form.name.lower()]
            self.project_done.append(("removed", form))
            self.project_undone.clear()

    def addframe(self):
        """A unit on disk brought in: one removed, one of the project's (refused), one of a
        copy Save As made (copied in, or refused over the project's own files), or none."""
        r = self.rng
        n = r.randint(1, self.units + 1)
        path = r.choice(["Unit%d.pas" % n, "Unit%d.dfm" % n,
                         "out%d/Unit%d.pas" % (max(1, self.saveas_count), n)])
        if self.values.hostile():
            path = r.choice(["Tour.dpr", "missing.pas", "/proc/Fz.pas", "../Unit1.pas", "."])
        self.emit("addframe", quote(path))
        # Whether it joined depends on the disk: the model no longer knows the project's steps.
        self.project_known = False

    def project_undo_redo(self):
        """undo and redo without a frame: the project's own steps."""
        if not self.project_known:
            return
        if self.project_done and (not self.project_undone or self.rng.random() < 0.5):
            self.emit("undo")
            kind, form = self.project_done.pop()
            self.project_undone.append((kind, form))
            gone = kind == "added"
        elif self.project_undone:
            self.emit("redo")
            kind, form = self.project_undone.pop()
            self.project_done.append((kind, form))
            gone = kind == "removed"
        else:
            return
        if gone:
            self.forms.pop(form.name.lower(), None)
        else:
            form.selection = []
            self.forms[form.name.lower()] = form

    def save(self):
        self.emit("save")

    def saveas(self):
        r = self.rng
        self.saveas_count += 1
        name = "Copy%d" % self.saveas_count
        if self.values.hostile():
            path = r.choice(["1bad.dpr", "my project.dpr", "Tour.dpr", "/proc/Fz.dpr",
                             "missing/dir/X.dpr", ".dpr", "out/" + name + ".txt",
                             "../" + name + ".dpr"])
        else:
            # The last: into a folder another Save As may have filled, which is refused then.
            path = r.choice([name + ".dpr", "out%d/%s.dpr" % (self.saveas_count, name),
                             "out1/Other%d.dpr" % self.saveas_count])
        self.emit("saveas", quote(path))

    def pointer(self):
        form = self.form()
        r = self.rng
        x, y = r.randint(0, 640), r.randint(0, 480)
        self.emit("down", form.name, str(x), str(y))
        if r.random() < 0.7:
            self.emit("move", form.name, str(x + r.randint(-30, 30)), str(y + r.randint(-30, 30)))
        self.emit("up", form.name, str(x + r.randint(-30, 30)), str(y + r.randint(-30, 30)))
        # Where the pointer left things is not followed: the next lines start from the frame.
        self.emit("select", form.name)
        form.selection = []
        self.changed(form, form.snapshot(), known=False)

    def misc(self):
        r = self.rng
        choice = r.random()
        if choice < 0.5:
            self.emit("screenshot", self.form().name, "shot.png")
        elif choice < 0.8:
            self.emit("wait", str(r.choice([0, 10, 500, 5000])))
        else:
            self.emit("key", self.form().name, r.choice(["Escape", "Ctrl+Right", "Shift+Down"]))

    # ---- dialogs: a few lines that work the dialog, then most often a line that closes it

    def work_dialog(self, dialog, form):
        worker = getattr(self, "dialog_" + dialog, None)
        if dialog == "ActDefDlg":
            self.project_known = False  # its New Frame adds a frame with a step of the project's
        # The wizard opens on the action the component has, which may end it at the first Next.
        steps = self.rng.randint(1 if dialog == "ActDefDlg" else 0, 8)
        state = {"form": form}
        for _ in range(steps):
            if worker:
                worker(state)
            else:
                self.dialog_generic(dialog, state)
        if self.rng.random() < 0.03:
            # A line for a frame behind the dialog, which the studio refuses: the script ends.
            frame = self.form().name
            self.emit(*self.rng.choice([["delete", frame], ["undo", frame],
                                        ["key", frame, "Delete"], ["select", frame],
                                        ["click", frame, "5", "5"],
                                        ["set", frame, "Caption", '"x"']]))
            self.closed = True
            return
        if self.rng.random() < 0.9:
            self.close_dialog(dialog, state)
        else:
            # Left open: the studio cancels it at the end; nothing may follow it.
            self.closed = True

    def close_dialog(self, dialog, state):
        r = self.rng
        ok = {"AboutBoxDlg": "OKButton", "ProjViewDlg": "BitBtn1", "ActDefDlg": "NextButton",
              "SoundRecorderDlg": "KeepBtn"}.get(dialog, "OKBtn")
        cancel = {"AboutBoxDlg": "OKButton", "ProjViewDlg": "BitBtn1", "ActDefDlg": "bbCancel",
                  "SoundRecorderDlg": "CancelBtn"}.get(dialog, "CancelBtn")
        choice = r.random()
        if dialog == "AboutBoxDlg" and choice >= 0.8:
            choice = 0.0  # it has no Cancel button for Escape
        if dialog == "ActDefDlg" and choice < 0.6:
            # Through the wizard to its end: Next until it closes.
            self.emit("click", "ActDefDlg.NextButton", "5", "5")
            if state.get("page", 0) == 0 and state.get("needs_page", True):
                self.emit("click", "ActDefDlg.NextButton", "5", "5")
            if state.get("new_frame"):
                self.add_frame()
            return
        if dialog == "SoundRecorderDlg":
            # A take is kept as the next free SoundN.wav; without one only Cancel closes.
            if state.get("recorder") == "recording":
                self.emit("click", "SoundRecorderDlg.StopBtn", "5", "5")
                state["recorder"] = "recorded"
            # Whether a take was made depends on the capture device: Keep is tried rarely.
            if (state.get("recorder") != "recorded" or r.random() < 0.7) and choice < 0.55:
                choice = 0.6
        if choice < 0.55:
            self.emit("click", dialog + "." + ok, "5", "5")
        elif choice < 0.8:
            self.emit("click", dialog + "." + cancel, "5", "5")
        else:
            self.emit("key", dialog, r.choice(["Escape", "Enter"]))

    def dialog_generic(self, dialog, state):
        r = self.rng
        controls = self.dialogs.get(dialog, {}).get("controls", {})
        names = [n for n, c in controls.items() if c["page"] is None and c["class"] not in
                 ("TLabel", "TBevel", "TPanel", "TGroupBox", "TImage", "TPaintBox")]
        if not names or r.random() < 0.3:
            self.emit("key", dialog, r.choice(KEYS))
            return
        name = r.choice(names)
        cls = controls[name]["class"]
        target = dialog + "." + name
        if cls in ("TEdit", "TMemo"):
            self.emit("type", target, quote(self.values.text()))
        elif cls in ("TCheckBox",):
            self.emit("check", target, r.choice(["on", "off"]))
        elif cls in ("TListBox", "TComboBox", "TTabSet", "TOutline"):
            self.emit("select", target, str(r.randint(0, 3)))
        else:
            self.emit("key", target, r.choice(KEYS))

    def dialog_PictureEditorDlg(self, state):
        r = self.rng
        choice = r.random()
        # Save and Clear are disabled while it holds no picture; None: not known.
        if state.get("picture") is False and choice >= 0.5:
            choice = 0.0
        if choice < 0.5:
            name = r.choice(["pic.png", "pic.png", "missing.png", "Tour.dpr"])
            if r.random() < 0.9:
                self.emit("file", quote(name))
                if name == "pic.png":
                    state["picture"] = True
            self.emit("click", "PictureEditorDlg.LoadBtn", "5", "5")
        elif choice < 0.7:
            state["picture"] = False
            self.emit("click", "PictureEditorDlg.ClearBtn", "5", "5")
        elif choice < 0.85:
            self.emit("file", quote(r.choice(["saved.png", "out1/saved.png"])))
            self.emit("click", "PictureEditorDlg.SaveBtn", "5", "5")
        else:
            self.emit("screenshot", "PictureEditorDlg", "picture.png")

    def dialog_AboutBoxDlg(self, state):
        if self.rng.random() < 0.3:
            self.emit("screenshot", "AboutBoxDlg", "about.png")
        else:
            self.emit("key", "AboutBoxDlg", self.rng.choice(["Tab", "A", "Shift+Tab"]))

    def dialog_StringsEditDlg(self, state):
        r = self.rng
        choice = r.random()
        typed = state.setdefault("typed", [])
        if choice < 0.5:
            text = self.values.text()
            self.emit("type", "StringsEditDlg.Memo", quote(text))
            if isinstance(text, str) and text.strip() and "\r" not in text:
                typed.append(text)
        elif choice < 0.8 or not typed:
            self.emit("key", "StringsEditDlg.Memo", r.choice(
                ["Enter", "Backspace", "Delete", "Home", "End", "Ctrl+A", "Up", "Shift+End"]))
        else:
            self.emit("select", "StringsEditDlg.Memo", quote(r.choice(typed)))

    def dialog_WordSelectDlg(self, state):
        r = self.rng
        choice = r.random()
        if choice < 0.25:
            for key in r.sample(["Home", "Down", "Shift+Right", "Ctrl+Shift+Right", "Shift+End",
                                 "Right", "Ctrl+Right"], 3):
                self.emit("key", "WordSelectDlg.SrcTxt", key)
            self.emit("click", "WordSelectDlg.IncludeBtn", "5", "5")
        elif choice < 0.3:
            self.emit("click", "WordSelectDlg." + r.choice(["ExcludeBtn", "ExcludeAllBtn"]),
                      "5", "5")
        elif choice < 0.45:
            self.emit("key", "WordSelectDlg.DstList", r.choice(["Down", "Up", "Home", "End"]))
        elif choice < 0.55:
            self.emit("click", "WordSelectDlg.bbExtender", "5", "5")
            state["extended"] = not state.get("extended", False)
        elif choice < 0.75 and state.get("extended"):
            actions = ["Show Description", "Goto Frame", "Play Wave", "Execute Program",
                       "Close Window", "Switch Lines"]
            action = r.randrange(len(actions))
            self.emit("select", "WordSelectDlg.cbAction", quote(actions[action]))
            if action == 0:
                self.emit("type", "WordSelectDlg.mDesc", quote(self.values.text()))
            elif action == 1:
                self.emit("select", "WordSelectDlg.cbFrameList",
                          quote(r.choice(self.frame_names())))
            elif action == 3:
                self.emit("type", "WordSelectDlg.txFileName",
                          quote(self.values.text(FILE_NAMES)))
        elif choice < 0.9:
            name = r.choice(["saved.wls", "First.wls", "Second.wls", "missing.wls", "x/y.wls"])
            menu = r.choice(["Save", "Load"])
            self.emit("file", quote(name))
            self.emit("menu", "WordSelectDlg.DstList", quote(menu))
        else:
            self.emit("key", "WordSelectDlg", r.choice(["Tab", "Shift+Tab", "Space"]))

    def dialog_FileListSelectDlg(self, state):
        r = self.rng
        choice = r.random()
        if choice < 0.4:
            if r.random() < 0.8:
                files = r.sample(["Intro.txt", "Intro2.txt", "First.wls", "Second.wls",
                                  "missing.txt", "sub/deep.txt"], r.randint(1, 3))
                self.emit("file", *[quote(f) for f in files])
            self.emit("click", "FileListSelectDlg.BitBtn" + r.choice("123"), "5", "5")
        elif choice < 0.7:
            self.emit("key", "FileListSelectDlg.ListBox1", r.choice(
                ["Down", "Up", "Home", "End", "Delete"]))
        else:
            self.emit("key", "FileListSelectDlg", r.choice(["Tab", "Space", "Down"]))

    def dialog_ActDefDlg(self, state):
        r = self.rng
        page = state.get("page", 0)
        if page == 0:
            items = ["MultMedia Frame", "Execute a program", "Play an Audio",
                     "Short Description", "BookMark", "Close", "None"]
            index = r.randrange(len(items))
            self.emit("select", "ActDefDlg.cbActionsList", quote(items[index]))
            if index >= 4:
                state["needs_page"] = False
                return
            state["needs_page"] = True
            if r.random() < 0.7:
                self.emit("click", "ActDefDlg.NextButton", "5", "5")
                state["page"] = {0: 2, 1: 3, 2: 4, 3: 5}[index]
            return
        choice = r.random()
        if choice < 0.15:
            self.emit("click", "ActDefDlg.PrevButton", "5", "5")
            state["page"] = 0 if page != 1 else 2
            state["new_frame"] = False
        elif page == 2:
            if choice < 0.5:
                self.emit("select", "ActDefDlg.cbFrameList", quote(r.choice(self.frame_names())))
            else:
                self.emit("click", "ActDefDlg.bbNewFrame", "5", "5")
                state["page"] = 1
                state["new_frame"] = True
        elif page == 1:
            self.emit("check", "ActDefDlg." + r.choice(["cbPicture", "cbAudio"]),
                      r.choice(["on", "off"]))
            if r.random() < 0.3:
                self.emit("file", quote(r.choice(["pic.png", "chime.wav", "missing.bmp"])))
        elif page == 3:
            field = r.choice(["txFileName", "txWorkDir", "txParam"])
            self.emit("type", "ActDefDlg." + field, quote(self.values.text(FILE_NAMES)))
        elif page == 4:
            form = state.get("form")
            waves = [c[0] for c in form.components.values() if c[1] == "TWavePlay"] \
                if form else []
            if waves and r.random() < 0.7:
                self.emit("select", "ActDefDlg.cbWaveList", quote(r.choice(waves)))
            else:
                self.emit("click", "ActDefDlg.bbPlayWave", "5", "5")
        elif page == 5:
            self.emit("type", "ActDefDlg.txDesc", quote(self.values.text()))

    def dialog_INISettingsDlg(self, state):
        r = self.rng
        info = self.dialogs.get("INISettingsDlg", {})
        controls = info.get("controls", {})
        page = state.get("page")
        if page is None or r.random() < 0.25:
            count = len(info.get("pages", {}).get("Notebook", [])) or 6
            page = r.randrange(count)
            self.emit("select", "INISettingsDlg.TabSet", str(page))
            state["page"] = page
            return
        names = [n for n, c in controls.items() if c["page"] == page and
                 c["class"] in ("TCheckBox", "TComboBox", "TBitBtn", "TSpinEdit")]
        if not names:
            return
        name = r.choice(names)
        cls = controls[name]["class"]
        target = "INISettingsDlg." + name
        if cls == "TCheckBox":
            self.emit("check", target, r.choice(["on", "off"]))
        elif cls == "TComboBox":
            self.emit("select", target, str(r.randint(0, 5)))
        elif cls == "TSpinEdit":
            self.emit("key", target, r.choice(["Up", "Down", "PageUp", "End"]))
        else:
            if r.random() < 0.8:
                self.font_line()
            self.emit("click", target, "5", "5")

    def dialog_ProjViewDlg(self, state):
        r = self.rng
        choice = r.random()
        groups = state.setdefault("groups", [])
        if choice < 0.3:
            name = self.values.text(["Intro", "Help", "Gallery", "More"])
            self.emit("type", "ProjViewDlg.Edit1", quote(name))
            self.emit("click", "ProjViewDlg.bbAdd", "5", "5")
            groups.append(name)
        elif choice < 0.5:
            self.emit("key", "ProjViewDlg.ListBox1", r.choice(
                ["Down", "Up", "Home", "Ctrl+Up", "Ctrl+Down"]))
        elif choice < 0.7 and groups:
            self.emit("menu", "ProjViewDlg.ListBox1", quote("Move to " + str(r.choice(groups))
                                                          .replace("&", "&&")))
        elif choice < 0.8:
            self.emit("key", "ProjViewDlg.ListBox2", r.choice(["Down", "Up", "End"]))
        elif choice < 0.9:
            self.emit("answer", r.choice(["yes", "no"]))
            self.emit("click", "ProjViewDlg.bbDel", "5", "5")
        else:
            self.emit("click", "ProjViewDlg.BitBtn2", "5", "5")

    def dialog_SoundRecorderDlg(self, state):
        r = self.rng
        step = state.get("recorder", "idle")
        if step == "recording":
            self.emit("click", "SoundRecorderDlg.StopBtn", "5", "5")
            state["recorder"] = "recorded"
        elif step == "recorded" and r.random() < 0.5:
            self.emit("click", "SoundRecorderDlg.PlayBtn", "5", "5")
        else:
            self.emit("click", "SoundRecorderDlg.RecordBtn", "5", "5")
            state["recorder"] = "recording"
        if r.random() < 0.7:
            self.emit("wait", str(r.choice([100, 1000, 3000])))

    def work_project_management(self):
        r = self.rng
        for _ in range(r.randint(0, 5)):
            choice = r.random()
            if choice < 0.5:
                self.emit("key", "ProjMgtDlg.oProjStruct", r.choice(
                    ["Down", "Up", "Right", "Left", "End", "Home"]))
            else:
                self.emit("click", "ProjMgtDlg." + r.choice(["bbExpand", "bbCollapse"]),
                          "5", "5")
        if r.random() < 0.7:
            self.emit("click", "ProjMgtDlg.BitBtn4", "5", "5")


# ---------------------------------------------------------------------------------------------
# Mutations of files


def mutate_bytes(rng, data, kind):
    """data changed by one to four edits: bytes, lines, numbers, line ends, encodings."""
    for _ in range(rng.randint(1, 4)):
        lines = data.split(b"\n")
        op = rng.randrange(18)
        if op == 0 and data:
            i = rng.randrange(len(data))
            data = data[:i] + bytes([data[i] ^ (1 << rng.randrange(8))]) + data[i + 1:]
        elif op == 1:
            i = rng.randrange(len(data) + 1)
            data = data[:i] + bytes([rng.choice([0, 9, 13, 10, 32, 61, 91, 93, 126, 127, 255,
                                                 rng.randrange(256)])]) + data[i:]
        elif op == 2 and data:
            i = rng.randrange(len(data))
            data = data[:i] + data[i + rng.randint(1, 16):]
        elif op == 3 and lines:
            i = rng.randrange(len(lines))
            lines.insert(i, lines[i])
            data = b"\n".join(lines)
        elif op == 4 and len(lines) > 1:
            del lines[rng.randrange(len(lines))]
            data = b"\n".join(lines)
        elif op == 5 and len(lines) > 1:
            i, j = rng.randrange(len(lines)), rng.randrange(len(lines))
            lines[i], lines[j] = lines[j], lines[i]
            data = b"\n".join(lines)
        elif op == 6:
            numbers = list(re.finditer(rb"-?\d+", data))
            if numbers:
                m = rng.choice(numbers)
                data = data[:m.start()] + rng.choice(HOSTILE_NUMBERS).encode() + data[m.end():]
        elif op == 7:
            data = data.replace(b"\r\n", b"\n")
            data = data.replace(b"\n", rng.choice([b"\r\n", b"\r", b"\r\r\n", b"\n\n", b"\n"]))
        elif op == 8:
            data = data[:rng.randrange(len(data) + 1)]
        elif op == 9:
            i = rng.randrange(len(lines) + 1)
            lines.insert(i, rng.choice([b"x" * 10000, b"\xff" * 300, b"=" * 50, b"[" * 5,
                                        "Ünïcödé 中文".encode(), b"\x00" * 8]))
            data = b"\n".join(lines)
        elif op == 10:
            data = b"\xef\xbb\xbf" + data
        elif op == 11 and rng.random() < 0.3:
            data = data.decode("latin-1").encode("utf-16")
        elif op == 12 and lines:
            i = rng.randrange(len(lines))
            lines[i] = rng.choice([lines[i].upper(), lines[i].lower(), b" " + lines[i],
                                   lines[i] + b" ", lines[i] + b"\t; note"])
            data = b"\n".join(lines)
        elif op == 13:
            data = b""
        elif op == 14:
            data = data * rng.randint(2, 3)
        else:
            data = mutate_structure(rng, data, kind)
    return data


def mutate_structure(rng, data, kind):
    """Edits that keep the file's shape, as a person's hand or another program would make."""
    text = data.decode("latin-1")
    if kind == "ini":
        edits = [(r"NoOfFrames=\d+", "NoOfFrames=" + rng.choice(["0", "1", "5", "-1", "x", ""])),
                 (r"Sections=\d+", "Sections=" + rng.choice(["0", "1", "9", "-3", "two"])),
                 (r"Frame(\d+)=", "Frame" + str(rng.randint(0, 12)) + "="),
                 (r"Section(\d+)=", "Section" + str(rng.randint(0, 5)) + "="),
                 (r"=TForm(\d)", "=TForm" + str(rng.randint(0, 9))),
                 (r"\[(\w+)\]", "[" + rng.choice(["Status", "status", "Intro", "Other",
                                                  "NotFiledFrames", " Spaced ", ""]) + "]"),
                 (r"INIAvailable=1", rng.choice(["INIAvailable=0", "INIAvailable = 1",
                                                  "INIAvailable=yes", ""])),
                 (r"=([^\r\n]*)", "=" + rng.choice(["", " ", "a=b", "TForm1 TForm2",
                                                    "x" * 300, "Ü"]))]
    elif kind == "settings":
        edits = [(r"=\d+", "=" + rng.choice(["", "-1", "4097", "99999999999", "x", "1.5", " 2"])),
                 (r"=cl\w+", "=" + rng.choice(["clNope", "$FFFFFFFFFF", "$00FF00", "-5", ""])),
                 (r"FontName=[^\r\n]*", "FontName=" + rng.choice(["", "x" * 300, "Ü", "?"])),
                 (r"INIAvailable=1", rng.choice(["INIAvailable=0", "", "INIAvailable=x"])),
                 (r"Use=1", rng.choice(["Use=0", "Use=", "Use=yes"])),
                 (r"\[(\w+)\]", "[" + rng.choice(["Status", "hypertxt", "Other", "", " Desc "])
                  + "]")]
    elif kind == "dpr":
        edits = [(r"Unit(\d)", "Unit" + str(rng.randint(1, 9))),
                 (r"Form(\d)", "Form" + str(rng.randint(1, 9))),
                 (r"\{Form\d\}", rng.choice(["", "{}", "{Form2}", "{ Form2 }", "(*Form2*)"])),
                 (r"in '", rng.choice(["in  '", "in \"", "IN '", "in'"])),
                 (r",\r?\n", rng.choice([";\n", "\n", ",,\n", ", // note\n"])),
                 (r"Application\.CreateForm\([^)]*\);", rng.choice(
                     ["", "Application.CreateForm(TForm9, Form9);",
                      "Application.CreateForm(TForm1, Form1); Application.CreateForm(TForm1, "
                      "Form1);"])),
                 (r"program \w+;", rng.choice(["program Other;", "program;", "unit Tour;",
                                               "program Tour"])),
                 (r"begin", rng.choice(["begin { comment }", "(* begin *) begin", "BEGIN"])),
                 (r"end\.", rng.choice(["end", "end.\nend.", "end. trailing"]))]
    else:
        edits = [(r"\n(\d)\r?\n", "\n" + rng.choice(["9", "-1", "x", "", "00", "123",
                                                     "1 "]) + "\n"),
                 (r"~", rng.choice(["", "~~", " ~", "~ "])),
                 (r"\n([^\r\n]+)\r?\n", "\n" + rng.choice(["w" * 129, "w" * 128, "d" * 91,
                                                           "two  words", "~x"]) + "\n"),
                 (r"\r?\n", rng.choice(["\r\n\r\n", "\n", "\r"]))]
    pattern, replacement = rng.choice(edits)
    matches = list(re.finditer(pattern, text))
    if not matches:
        return data
    m = rng.choice(matches)
    return (text[:m.start()] + replacement + text[m.end():]).encode("latin-1")


# ---- lenient readers for the checks that nothing was lost


def ini_sections(data):
    """{section: {key: value}} of an INI file, lower-case names, the first of each kept."""
    sections = {}
    current = None
    for raw in data.split(b"\n"):
        line = raw.rstrip(b"\r").decode("latin-1").strip()
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1].strip().lower(), {})
        elif "=" in line and current is not None and not line.startswith(";"):
            key, value = line.split("=", 1)
            current.setdefault(key.strip().lower(), value.strip())
    return sections


def ini_groups(data):
    """Groups and their frames as the sections file names them: {group: [frames]}, lower case."""
    sections = ini_sections(data)
    status = sections.get("status", {})
    groups = {}
    names = ["notfiledframes"] + [status[k].lower() for k in sorted(status)
                                  if re.fullmatch(r"section\d+", k)]
    for name in names:
        section = sections.get(name, {})
        groups[name] = sorted(v.lower() for k, v in section.items()
                              if re.fullmatch(r"frame\d+", k))
    return groups


def ini_values(data):
    """(section, key) -> value of an INI file, lower-case names, the first of each kept."""
    return {(section, key): value for section, keys in ini_sections(data).items()
            for key, value in keys.items()}


def dpr_units(data):
    return sorted(set(m.group(1).lower() for m in
                      re.finditer(rb"(\w+)\s+in\s+'[^']*'", data, re.IGNORECASE)))


def wls_entries(data):
    """The entries a word-list file holds, read as the kit reads it: lines end at LF (a CR
    before it goes with it), a record is its word, its code and its data lines up to "~"
    (a description's joined by CR LF, others by nothing), and columns drop their trailing
    blanks. A last record cut off by the end of the file keeps the lines it has."""
    if data.startswith(b"\xef\xbb\xbf"):
        data = data[3:]
    lines = [l[:-1] if l.endswith(b"\r") else l for l in data.split(b"\n")]
    if lines and lines[-1] == b"" and data.endswith(b"\n"):
        lines.pop()
    if data == b"":
        lines = []
    entries, i = [], 0
    while i < len(lines):
        word = lines[i]
        code = lines[i + 1].rstrip(b" ") if i + 1 < len(lines) else b""
        i += 2
        data_lines = []
        while i < len(lines) and lines[i] != b"~":
            data_lines.append(lines[i])
            i += 1
        i += 1
        joiner = b"\r\n" if re.fullmatch(rb"[+-]?0+", code.strip()) else b""
        if i > len(lines) and data_lines and data_lines[-1] == b"":
            data_lines.pop()
        entries.append((word.rstrip(b" "), code, joiner.join(data_lines).rstrip(b" ")))
    return entries


# ---------------------------------------------------------------------------------------------
# Running


def program_env(windir):
    env = dict(os.environ)
    env.update({"QT_QPA_PLATFORM": "offscreen", "SDL_AUDIODRIVER": "dummy",
                "MEBROX_WINDIR": str(windir), "XDG_CONFIG_HOME": str(windir / "config"),
                # Recovery files of studios a case ends stay with the case.
                "XDG_STATE_HOME": str(windir / "state"),
                "ASAN_OPTIONS": "detect_leaks=1:detect_stack_use_after_return=0",
                "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1",
                "LSAN_OPTIONS": "suppressions=%s:print_suppressions=0"
                                % (SOURCE_ROOT / "scripts" / "lsan.supp")})
    env.pop("MEBROX_KILL_AT_WRITE_STEP", None)
    return env


class Finding(Exception):
    def __init__(self, kind, detail):
        super().__init__(kind + ": " + detail)
        self.kind = kind
        self.detail = detail


class Runner:
    def __init__(self, build, timeout):
        self.build = build
        self.studio = build / "apps" / "studio" / "mebrox-studio"
        self.run_program = build / "apps" / "run" / "mebrox-run"
        self.timeout = timeout

    def run(self, work, args, name, script=None):
        """Runs a program in work; the result with its output kept as work/NAME.out/.err."""
        cmd = [str(a) for a in args]
        if script is not None:
            (work / (name + ".txt")).write_bytes(script)
        # In a session of its own, so that it ends with whatever it started (a program a
        # hot word runs) when it hangs.
        proc = subprocess.Popen(cmd, cwd=work, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, env=program_env(work / "windir"),
                                start_new_session=True)
        try:
            out, err = proc.communicate(timeout=self.timeout)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            out, err = proc.communicate()
            (work / (name + ".out")).write_bytes(out)
            (work / (name + ".err")).write_bytes(err)
            raise Finding("hang", "%s did not end within %d s" % (name, self.timeout))
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except (ProcessLookupError, PermissionError):
            pass
        result = subprocess.CompletedProcess(cmd, proc.returncode, out, err)
        (work / (name + ".out")).write_bytes(result.stdout)
        (work / (name + ".err")).write_bytes(result.stderr)
        for mark in SANITIZER_MARKS:
            if mark in result.stderr:
                at = result.stderr.find(mark)
                raise Finding("sanitizer", "%s: %s" % (name, result.stderr[at:at + 300].decode(
                    errors="replace")))
        if result.returncode < 0:
            raise Finding("signal", "%s ended by signal %s" % (
                name, signal.Signals(-result.returncode).name))
        return result

    def studio_run(self, work, project, script, name):
        r = self.run(work, [self.studio, "--headless", "--script", name + ".txt", project],
                     name, script)
        trace = r.stdout.decode(errors="replace")
        err = r.stderr.decode(errors="replace")
        if r.returncode not in (0, 1, 2):
            raise Finding("exit", "%s exit code %d" % (name, r.returncode))
        if r.returncode in (1, 2) and "mebrox-studio: " not in err:
            raise Finding("exit", "%s exit code %d without a message" % (name, r.returncode))
        for line in trace.splitlines():
            if line.startswith(("message ", "error ")) and any(
                    m in line for m in INTERNAL_ERROR_MARKS):
                raise Finding("internal-error", "%s showed %s" % (name, line[:300]))
        return r.returncode, trace, err

    def after_save(self, work, project):
        """The saved project reopens, a second save writes nothing, and it can be checked."""
        code, trace, err = self.studio_run(work, project, b"save\n", "reopen")
        if code != 0:
            raise Finding("reopen", "the saved project does not reopen: " + err.strip()[:400])
        saved = [l for l in trace.splitlines() if l.startswith("saved ")]
        if saved:
            raise Finding("resave", "a second save wrote " + ", ".join(saved))
        r = self.run(work, [self.run_program, "--check", project], "check")
        if r.returncode not in (0, 1):
            raise Finding("check", "mebrox-run --check exit code %d" % r.returncode)
        r = self.run(work, [self.run_program, "--headless", "--script", "run.txt", project],
                     "run", b"")
        if r.returncode not in (0, 1):
            raise Finding("run", "mebrox-run --headless exit code %d" % r.returncode)


def saved_project(script, err, start):
    """The project the run left: that of the last Save As before the line that ended the run
    (a Save As that fails ends it), or start."""
    m = re.search(r"\.txt\((\d+)\)", err)
    end = int(m.group(1)) if m else None
    project = start
    for number, line in enumerate(script.split(b"\n"), 1):
        if end is not None and number >= end:
            break
        if line.startswith(b"saveas "):
            project = line[len(b"saveas "):].strip().strip(b'"').decode(errors="replace")
    return project


class Campaign:
    def __init__(self, args):
        self.args = args
        self.build = Path(args.build).resolve()
        self.out = Path(args.out).resolve()
        self.out.mkdir(parents=True, exist_ok=True)
        self.tour = self.build / "examples" / "tour"
        self.runner = Runner(self.build, args.timeout)
        self.catalog = load_catalog(self.build, self.out)
        self.dialogs = parse_dialog_forms()
        self.stats = {"scripts": 0, "files": 0, "lines": 0, "ended-early": 0, "saves": 0,
                      "findings": 0, "exit": {0: 0, 1: 0, 2: 0}, "outcomes": {}}
        self.bases = None

    # ---- one case

    def scratch(self, case):
        work = self.out / "work" / case
        if work.exists():
            shutil.rmtree(work)
        work.mkdir(parents=True)
        shutil.copytree(self.tour, work / "tour")
        (work / "tour" / "Tour.RUN").unlink(missing_ok=True)
        (work / "tour" / "pic.png").write_bytes(tiny_png())  # for the picture editor's Load
        (work / "windir").mkdir()
        for n in range(1, 4):
            (work / ("out%d" % n)).mkdir()  # folders for Save As to take the project to
        return work

    def script_case(self, seed):
        case = "script-%d" % seed
        work = self.scratch(case)
        gen = ScriptGenerator(seed, self.catalog, self.dialogs, work / "tour",
                              hostile_rate=self.args.hostile, max_length=self.args.max_length)
        script = gen.generate()
        self.stats["scripts"] += 1
        shutil.copytree(work / "tour", work / "before")
        try:
            self.run_script(work, script, case)
        except Finding as f:
            return self.keep(case, work, f, "--replay-script %d" % seed)
        shutil.rmtree(work)
        return None

    def run_script(self, work, script, case=""):
        code, trace, err = self.runner.studio_run(work, "tour/Tour.dpr", script, "design")
        self.count(script, code, err, case)
        self.cover(script)
        if "\nsaved " in "\n" + trace:
            self.stats["saves"] += 1
            self.runner.after_save(work, saved_project(script, err, "tour/Tour.dpr"))

    def minimize(self, seed):
        """The fewest lines of a script case that still give its finding, for a report."""
        work = self.scratch("minimize")
        script = ScriptGenerator(seed, self.catalog, self.dialogs, work / "tour",
                                 hostile_rate=self.args.hostile,
                                 max_length=self.args.max_length).generate()
        shutil.rmtree(work)

        def finding(lines):
            work = self.scratch("minimize")
            try:
                self.run_script(work, b"\n".join(lines) + b"\n")
                return None
            except Finding as f:
                return f.kind
            finally:
                shutil.rmtree(work, ignore_errors=True)

        lines = script.rstrip(b"\n").split(b"\n")
        kind = finding(lines)
        if not kind:
            print("script %d gives no finding" % seed)
            return 1
        chunk = max(1, len(lines) // 2)
        while chunk >= 1:
            i = 0
            while i < len(lines):
                trial = lines[:i] + lines[i + chunk:]
                if trial and finding(trial) == kind:
                    lines = trial
                else:
                    i += chunk
            chunk //= 2
        print("# %s, script %d, %d of its lines:" % (kind, seed, len(lines)))
        sys.stdout.buffer.write(b"\n".join(lines) + b"\n")
        return 0

    def cover(self, script):
        """Which verbs, and which class's properties, the scripts used."""
        cov = self.stats.setdefault("cover", {"verbs": {}, "properties": set()})
        for line in script.split(b"\n"):
            parts = line.split(b" ")
            if not parts[0]:
                continue
            verb = parts[0].decode(errors="replace")
            cov["verbs"][verb] = cov["verbs"].get(verb, 0) + 1
            if verb == "set" and len(parts) >= 3:
                cov["properties"].add(parts[2].decode(errors="replace"))

    def count(self, script, code, err, case=""):
        self.stats["exit"][code] = self.stats["exit"].get(code, 0) + 1
        lines = script.count(b"\n")
        m = re.search(r"\.txt\((\d+)\)", err)
        if code == 1 and self.args.verbose:
            print("  failed:", err.strip()[:300])
        if code == 2 and m:
            self.stats["ended-early"] += 1
            lines = int(m.group(1))
            if self.args.verbose:
                print("  %s ended at %s" % (case, err.strip()[:200]))
        self.stats["lines"] += lines

    def outcome(self, kind, what):
        key = kind + " " + what
        self.stats["outcomes"][key] = self.stats["outcomes"].get(key, 0) + 1

    def file_case(self, seed):
        rng = random.Random(seed)
        kind = FILE_KINDS[seed % len(FILE_KINDS)]
        case = "file-%s-%d" % (kind, seed)
        work = self.scratch(case)
        tour = work / "tour"
        try:
            if kind == "ini":
                self.ini_case(rng, work, tour)
            elif kind == "dpr":
                self.dpr_case(rng, work, tour)
            elif kind == "wls":
                self.wls_case(rng, work, tour)
            else:
                self.settings_case(rng, work)
        except Finding as f:
            return self.keep(case, work, f, "--replay-file %d" % seed)
        shutil.rmtree(work)
        return None

    def base_files(self):
        """A sections file made by the Project Thumbnail Expert itself, once per campaign."""
        if self.bases:
            return self.bases
        work = self.scratch("base")
        script = (b'expert "Project Thumbnail Expert"\n'
                  b'type ProjViewDlg.Edit1 "Intro"\nclick ProjViewDlg.bbAdd 5 5\n'
                  b'type ProjViewDlg.Edit1 "Help"\nclick ProjViewDlg.bbAdd 5 5\n'
                  b'select ProjViewDlg.ListBox2 "NotFiledFrames"\n'
                  b'select ProjViewDlg.ListBox1 "TForm2"\n'
                  b'menu ProjViewDlg.ListBox1 "Move to Intro"\n'
                  b'select ProjViewDlg.ListBox1 "TForm3"\n'
                  b'menu ProjViewDlg.ListBox1 "Move to Intro"\n'
                  b'select ProjViewDlg.ListBox1 "TForm4"\n'
                  b'menu ProjViewDlg.ListBox1 "Move to Help"\n'
                  b'click ProjViewDlg.BitBtn1 5 5\n')
        code, trace, err = self.runner.studio_run(work, "tour/Tour.dpr", script, "base")
        ini = work / "tour" / "Tour.INI"
        if code != 0 or not ini.exists():
            sys.exit("The Project Thumbnail Expert made no sections file:\n" + trace + err)
        self.bases = {"ini": ini.read_bytes()}
        script = b'expert "Default Settings Expert"\nclick INISettingsDlg.OKBtn 5 5\n'
        code, trace, err = self.runner.studio_run(work, "tour/Tour.dpr", script, "base")
        settings = work / "windir" / "Mebrox.ini"
        if code != 0 or not settings.exists():
            sys.exit("The Default Settings Expert made no settings file:\n" + trace + err)
        self.bases["settings"] = settings.read_bytes()
        shutil.rmtree(work)
        return self.bases

    def ini_case(self, rng, work, tour):
        original = self.base_files()["ini"]
        mutated = mutate_bytes(rng, original, "ini")
        (tour / "Tour.INI").write_bytes(mutated)
        self.stats["files"] += 1
        shutil.copytree(tour, work / "before")
        answer = rng.choice(["yes", "no"])
        script = ("answer %s\nexpert \"Project Thumbnail Expert\"\n"
                  "type ProjViewDlg.Edit1 \"Fz\"\nclick ProjViewDlg.bbAdd 5 5\n"
                  "click ProjViewDlg.BitBtn1 5 5\n" % answer).encode()
        code, trace, err = self.runner.studio_run(work, "tour/Tour.dpr", script, "design")
        after = (tour / "Tour.INI").read_bytes() if (tour / "Tour.INI").exists() else None
        damaged = re.search(r'^message "The project sections file is damaged.* -> (\w+)$', trace,
                            re.MULTILINE)
        self.outcome("ini", "reported damaged" if damaged else "read")
        if damaged:
            answer = damaged.group(1)
            backups = sorted(tour.glob("Tour.INI.bak*"))
            if answer == "yes" and after != mutated and not any(
                    b.read_bytes() == mutated for b in backups):
                raise Finding("ini-lost", "a damaged file was replaced without its copy")
            if answer != "yes" and after != mutated:
                raise Finding("ini-lost", "a damaged file was rewritten though kept")
            return
        if after is None or after == mutated:
            return
        # Read without a word: every group keeps the frames of the project it held.
        project_frames = {"tform1", "tform2", "tform3", "tform4"}
        before_groups, after_groups = ini_groups(mutated), ini_groups(after)
        for group, frames in before_groups.items():
            for frame in frames:
                if frame in project_frames and frame not in after_groups.get(group, []):
                    raise Finding("ini-lost", "%s left group %s without a word" % (frame, group))

    def settings_case(self, rng, work):
        """Mebrox.ini through the Default Settings dialog, then one of each class dropped."""
        original = self.base_files()["settings"]
        mutated = mutate_bytes(rng, original, "settings")
        path = work / "windir" / "Mebrox.ini"
        path.write_bytes(mutated)
        self.stats["files"] += 1
        shutil.copytree(work / "tour", work / "before")
        shutil.copy(path, work / "before" / "Mebrox.ini")
        lines = ["answer " + rng.choice(["yes", "cancel"]), 'expert "Default Settings Expert"']
        for _ in range(rng.randint(0, 4)):
            page = rng.randrange(6)
            lines.append("select INISettingsDlg.TabSet %d" % page)
        ok = rng.random() < 0.5
        lines.append("click INISettingsDlg.%s 5 5" % ("OKBtn" if ok else "CancelBtn"))
        for n, cls in enumerate(self.catalog["classes"]):
            lines.append("drop %s Form1 %d %d" % (cls["name"], 8 + 40 * (n % 12), 300 + n))
        lines += ["screenshot Form1 shot.png", "save"]
        script = ("\n".join(lines) + "\n").encode()
        code, trace, err = self.runner.studio_run(work, "tour/Tour.dpr", script, "design")
        damaged = re.search(r'^message "The default settings file [^ ]* cannot be read: line .* '
                            r'-> (\w+)$',
                            trace, re.MULTILINE)
        after = path.read_bytes() if path.exists() else None
        self.outcome("settings", "reported damaged" if damaged else "read")
        if damaged:
            backups = list((work / "windir").glob("Mebrox.ini*"))
            if damaged.group(1) != "yes" and after != mutated:
                raise Finding("settings-lost", "a damaged file was written though kept")
            if damaged.group(1) == "yes" and not any(
                    b.read_bytes() == mutated for b in backups):
                raise Finding("settings-lost", "a damaged file was replaced without its copy")
        elif not ok and after is not None:
            # Cancelled: keys may be added, but no value the file held is changed; a section's
            # flag in [Status] says that its missing keys were filled in.
            before, now = ini_values(mutated), ini_values(after)
            for key, value in before.items():
                flag = key[0] == "status" and key[1].endswith("iniavailable") and \
                    now.get(key) == "1"
                if now.get(key) != value and not flag:
                    raise Finding("settings-lost", "[%s] %s=%r became %r after Cancel" % (
                        key[0], key[1], value, now.get(key)))
        if "\nsaved " in "\n" + trace:
            self.runner.after_save(work, "tour/Tour.dpr")

    def dpr_case(self, rng, work, tour):
        original = (tour / "Tour.dpr").read_bytes()
        mutated = mutate_bytes(rng, original, "dpr")
        (tour / "Tour.dpr").write_bytes(mutated)
        self.stats["files"] += 1
        shutil.copytree(tour, work / "before")
        script = rng.choice([b"save\n", b"newframe\nsave\n", b"set Form1 Name Renamed1\nsave\n",
                             b"drop THyperTxt Form2 8 8\nsave\n", b"saveas \"Copy1.dpr\"\n"])
        code, trace, err = self.runner.studio_run(work, "tour/Tour.dpr", script, "design")
        r = self.runner.run(work, [self.runner.run_program, "--check", "tour/Tour.dpr"],
                            "check-mutated")
        if r.returncode not in (0, 1):
            raise Finding("check", "mebrox-run --check exit code %d" % r.returncode)
        self.outcome("dpr", "opened" if code == 0 else "refused")
        if code == 1 and "Tour.dpr" not in err and "Unit" not in err:
            raise Finding("dpr-message", "refused without naming the file: " + err.strip())
        if "\nsaved " not in "\n" + trace:
            return
        project = saved_project(script, err, "tour/Tour.dpr")
        written = (work / project).read_bytes()
        lost = set(dpr_units(mutated)) - set(dpr_units(written))
        if lost and code == 0:
            raise Finding("dpr-lost", "units left the project file: " + ", ".join(sorted(lost)))
        self.runner.after_save(work, project)

    def wls_case(self, rng, work, tour):
        source = tour / rng.choice(["First.wls", "Second.wls"])
        original = source.read_bytes()
        if rng.random() < 0.3:
            original += (tour / "Second.wls").read_bytes()
        mutated = mutate_bytes(rng, original, "wls")
        (work / "m.wls").write_bytes(mutated)
        self.stats["files"] += 1
        shutil.copytree(tour, work / "before")
        script = (b'edit Form1.HyperTxt1 Words\nfile "m.wls"\nmenu WordSelectDlg.DstList "Load"\n'
                  b'file "out.wls"\nmenu WordSelectDlg.DstList "Save"\n'
                  b'click WordSelectDlg.OKBtn 5 5\nsave\n')
        code, trace, err = self.runner.studio_run(work, "tour/Tour.dpr", script, "design")
        if code != 0:
            raise Finding("wls-exit", "exit code %d: %s" % (code, err.strip()[:300]))
        lines = trace.splitlines()
        load = next(i for i, l in enumerate(lines) if l.startswith('file open'))
        save = next((i for i, l in enumerate(lines) if l.startswith("file save")), len(lines))
        load_spoke = any(l.startswith(("message ", "error ")) for l in lines[load:save])
        save_spoke = any(l.startswith(("message ", "error ")) for l in lines[save:])
        out = work / "out.wls"
        self.outcome("wls", "reported" if load_spoke else "loaded")
        if not load_spoke and not save_spoke and out.exists():
            before, after = wls_entries(mutated), wls_entries(out.read_bytes())
            if before != after:
                missing = [e for e in before if e not in after]
                raise Finding("wls-lost", "a list loaded without a word saved differently; "
                              "first entry not kept: %r" % (missing[:1],))
        if "\nsaved " in "\n" + trace:
            self.runner.after_save(work, "tour/Tour.dpr")

    # ---- findings

    def keep(self, case, work, finding, replay):
        self.stats["findings"] += 1
        folder = self.out / "findings" / ("%s-%s" % (finding.kind, case))
        if folder.exists():
            shutil.rmtree(folder)
        shutil.move(str(work), str(folder))
        (folder / "finding.txt").write_text(finding.kind + "\n" + finding.detail + "\n")
        replay_sh = folder / "replay.sh"
        replay_sh.write_text(
            "#!/bin/sh\n# Runs the design script again on a fresh copy of the project as it "
            "started.\nset -e\ncd \"$(dirname \"$0\")\"\nrm -rf replay && cp -r before replay\n"
            "cd replay && QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy MEBROX_WINDIR=$PWD "
            "%s --headless --script ../design.txt Tour.dpr\n" % self.runner.studio)
        replay_sh.chmod(0o755)
        print("FINDING %s in %s: %s" % (finding.kind, case, finding.detail), flush=True)
        if self.args.hostile != 0.07:
            replay += " --hostile %g" % self.args.hostile
        if self.args.max_length != 60:
            replay += " --max-length %d" % self.args.max_length
        print("  kept in %s; replay: %s (or python3 %s --build %s %s)" % (
            folder, replay_sh, Path(__file__).resolve(), self.build, replay), flush=True)
        return finding


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", required=True, help="build folder with mebrox-studio")
    parser.add_argument("--scripts", type=int, default=20, help="number of scripts")
    parser.add_argument("--files", type=int, default=10, help="number of mutated files")
    parser.add_argument("--seed", type=int, default=1, help="first seed")
    parser.add_argument("--out", default="design-fuzz", help="where cases and findings go")
    parser.add_argument("--jobs", type=int, default=1)
    parser.add_argument("--timeout", type=int, default=60, help="seconds per program run")
    parser.add_argument("--hostile", type=float, default=0.07,
                        help="share of values that are hostile")
    parser.add_argument("--max-length", type=int, default=60,
                        help="most lines a script has before its last save")
    parser.add_argument("--replay-script", type=int, metavar="SEED",
                        help="run the script case of this seed alone")
    parser.add_argument("--replay-file", type=int, metavar="SEED",
                        help="run the file case of this seed alone")
    parser.add_argument("--print-script", type=int, metavar="SEED",
                        help="print the script of this seed and stop")
    parser.add_argument("--minimize", type=int, metavar="SEED",
                        help="print the fewest lines of this seed's script that keep its finding")
    parser.add_argument("--verbose", action="store_true")
    args = parser.parse_args()

    campaign = Campaign(args)
    if args.print_script is not None:
        work = campaign.scratch("print")
        sys.stdout.buffer.write(ScriptGenerator(args.print_script, campaign.catalog,
                                                campaign.dialogs, work / "tour",
                                                hostile_rate=args.hostile,
                                                max_length=args.max_length).generate())
        shutil.rmtree(work)
        return 0
    if args.minimize is not None:
        return campaign.minimize(args.minimize)
    jobs = []
    if args.replay_script is not None:
        jobs = [("script", args.replay_script)]
    elif args.replay_file is not None:
        jobs = [("file", args.replay_file)]
    else:
        jobs = [("script", args.seed * 100000 + i) for i in range(args.scripts)] + \
               [("file", args.seed * 100000 + i) for i in range(args.files)]
    if any(kind == "file" for kind, _ in jobs):
        campaign.base_files()
    started = time.time()
    findings = []

    def one(job):
        kind, seed = job
        return campaign.script_case(seed) if kind == "script" else campaign.file_case(seed)

    with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
        for done, result in enumerate(pool.map(one, jobs), 1):
            if result:
                findings.append(result)
            if args.verbose or done % 100 == 0:
                print("%d/%d cases, %d findings, %.0f s" % (done, len(jobs), len(findings),
                                                          time.time() - started), flush=True)
    s = campaign.stats
    print("file outcomes: %s" % dict(sorted(s["outcomes"].items())))
    if "cover" in s:
        paths = {p["path"] for c in campaign.catalog["classes"] for p in c["properties"]} | \
            {p["path"] for p in campaign.catalog["form"]}
        print("verbs: %s" % dict(sorted(s["cover"]["verbs"].items())))
        print("property paths set: %d of the %d the inspector shows" % (
            len(s["cover"]["properties"] & paths), len(paths)))
    print("scripts %d (lines run %d, ended at a line naming what was not there %d, with a save "
          "%d; exit codes %s), mutated files %d, findings %d, %.0f s" % (
              s["scripts"], s["lines"], s["ended-early"], s["saves"],
              dict(sorted(s["exit"].items())), s["files"], len(findings),
              time.time() - started))
    shutil.rmtree(campaign.out / "work", ignore_errors=True)
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())

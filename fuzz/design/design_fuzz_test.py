#!/usr/bin/env python3
"""The design fuzzer's own checks: its oracle sees every way a program can fail, its readers take
files as the kit does, and a seed always gives the same case."""

import random
import stat
import sys
import tempfile
import unittest
from pathlib import Path

# The tests run from the source tree, which they leave as they found it.
sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent))
import design_fuzz as fuzz  # noqa: E402

# Enough of a catalog for the generator: two classes, a frame, the experts.
CATALOG = {
    "classes": [
        {"name": "THyperTxt", "page": "Mebrox", "windowed": False, "verbs": [],
         "properties": [
             {"path": "Name", "kind": "String", "flags": [], "values": [], "value": "HyperTxt1"},
             {"path": "Width", "kind": "Integer", "flags": [], "values": [], "value": "105"},
             {"path": "Words", "kind": "Strings", "flags": ["dialog", "readonly"], "values": [],
              "value": ""},
             {"path": "Font.Style.fsBold", "kind": "Set", "flags": [],
              "values": ["False", "True"], "value": "False"}]},
        {"name": "TWavePlay", "page": "Mebrox", "windowed": False,
         "verbs": ["Wave &Name...", "&Play", "&Record...", "C&lose"],
         "properties": [{"path": "WaveName", "kind": "String", "flags": ["dialog"],
                         "values": [], "value": ""}]}],
    "form": [{"path": "Caption", "kind": "String", "flags": [], "values": [], "value": "x"}],
    "experts": ["Default Settings Expert", "Project Thumbnail Expert"],
}


def fake_program(folder, body):
    """An executable shell script standing in for a program of the kit."""
    folder.mkdir(parents=True, exist_ok=True)
    path = folder / "prog"
    path.write_text("#!/bin/sh\n" + body + "\n")
    path.chmod(path.stat().st_mode | stat.S_IEXEC)
    return path


class OracleTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.work = Path(self.dir.name)
        (self.work / "windir").mkdir()

    def tearDown(self):
        self.dir.cleanup()

    def runner_for(self, body, timeout=5):
        build = self.work / "build"
        program = fake_program(build / "apps" / "studio", body)
        runner = fuzz.Runner(build, timeout)
        runner.studio = program
        return runner

    def test_each_way_of_failing_is_a_finding_and_a_refusal_with_its_message_is_not(self):
        cases = [
            ("kill -SEGV $$", "signal"),
            ("kill -ABRT $$", "signal"),
            ("echo '==1==ERROR: AddressSanitizer: heap-use-after-free' >&2; exit 1",
             "sanitizer"),
            ("echo 'x.cpp:3:5: runtime error: signed integer overflow' >&2; exit 1",
             "sanitizer"),
            ("echo '==1==ERROR: LeakSanitizer: detected memory leaks' >&2; exit 0", "sanitizer"),
            ("sleep 30", "hang"),
            ("exit 3", "exit"),
            ("exit 1", "exit"),
            ("echo 'message \"basic_string::substr: __pos (which is 9)\" -> ok'", "internal-error"),
            ("echo 'mebrox-studio: design.txt(3): Form1 has no component X' >&2; exit 2", None),
            ("echo 'mebrox-studio: design.txt(3): could not be saved' >&2; exit 1", None),
            ("echo 'error \"The folder out9 does not exist.\"'", None),
        ]
        for body, kind in cases:
            with self.subTest(body=body):
                runner = self.runner_for(body, timeout=1)
                if kind is None:
                    runner.studio_run(self.work, "Tour.dpr", b"save\n", "design")
                    continue
                with self.assertRaises(fuzz.Finding) as raised:
                    runner.studio_run(self.work, "Tour.dpr", b"save\n", "design")
                self.assertEqual(raised.exception.kind, kind)

    def test_a_saved_project_must_reopen_and_save_nothing_more(self):
        build = self.work / "build"
        run = fake_program(build / "apps" / "run", "exit 0")
        for reopen, kind in [("echo 'show TForm1'", None),
                             ("echo 'saved Unit1.dfm'", "resave"),
                             ("echo 'mebrox-studio: Tour.dpr(3): bad' >&2; exit 1", "reopen")]:
            with self.subTest(reopen=reopen):
                runner = self.runner_for(reopen)
                runner.run_program = run
                if kind is None:
                    runner.after_save(self.work, "Tour.dpr")
                    continue
                with self.assertRaises(fuzz.Finding) as raised:
                    runner.after_save(self.work, "Tour.dpr")
                self.assertEqual(raised.exception.kind, kind)

    def test_the_project_a_run_leaves_is_the_last_one_saved_as(self):
        script = (b'drop THyperTxt Form1 8 8\nsaveas "out1/Copy1.dpr"\nsave\nsaveas "1bad.dpr"\n'
                  b'set Form1 Top "x"\nsaveas "Copy3.dpr"\n')
        for err, project in [
                ("", "Copy3.dpr"),
                ("mebrox-studio: design.txt(5): 'x' is not a valid value for Top", "1bad.dpr"),
                ("mebrox-studio: design.txt(4): the project could not be saved as 1bad.dpr",
                 "out1/Copy1.dpr"),
                ("mebrox-studio: design.txt(1): Left 99999 is beyond", "tour/Tour.dpr")]:
            with self.subTest(err=err):
                self.assertEqual(fuzz.saved_project(script, err, "tour/Tour.dpr"), project)


class ReadersTest(unittest.TestCase):
    def test_word_lists_read_as_the_kit_reads_them(self):
        cases = [
            (b"cat\r\n0\r\nHello\r\n\r\nWorld\r\n~\r\n", [(b"cat", b"0", b"Hello\r\n\r\nWorld")]),
            (b" dog\r\n3 \r\nC:\\APP\r\n\\RUN.EXE\r\n~\r\n",
             [(b" dog", b"3", b"C:\\APP\\RUN.EXE")]),
            (b"bird\n5\n2\n~\n", [(b"bird", b"5", b"2")]),
            (b"\xef\xbb\xbfgo\r\n4\r\n~\r\n", [(b"go", b"4", b"")]),
            (b"last\r\n1\r\nFirst\r\nKept", [(b"last", b"1", b"FirstKept")]),
            (b"cut\r\n4\r\n", [(b"cut", b"4", b"")]),
            (b"~\r\n4\r\ngo\r\n~\r\n", [(b"~", b"4", b"go")]),
            (b"", []),
        ]
        for data, entries in cases:
            with self.subTest(data=data):
                self.assertEqual(fuzz.wls_entries(data), entries)

    def test_sections_files_give_each_group_its_frames(self):
        ini = (b"[Status]\r\nINIAvailable=1\r\nSections=1\r\nSection1=Intro\r\n\r\n"
               b"[NotFiledFrames]\r\nNoOfFrames=1\r\nFrame1=TForm1\r\n"
               b"[intro]\r\nNoOfFrames=2\r\nFrame1=TForm3\r\nFrame2=TForm2\r\n")
        self.assertEqual(fuzz.ini_groups(ini), {"notfiledframes": ["tform1"],
                                                "intro": ["tform2", "tform3"]})

    def test_settings_files_give_the_first_value_of_each_key(self):
        ini = b"[Status]\r\nINIAvailable=1\r\n; note=1\r\n[HyperTxt]\nFontSize = 20\nfontsize=9\n"
        self.assertEqual(fuzz.ini_values(ini), {("status", "iniavailable"): "1",
                                                ("hypertxt", "fontsize"): "20"})

    def test_project_files_give_their_units(self):
        dpr = b"program T;\nuses\n  Forms,\n  Unit1 in 'Unit1.pas' {Form1},\n  UNIT2 IN 'x.pas';\n"
        self.assertEqual(fuzz.dpr_units(dpr), [b"unit1", b"unit2"])

    def test_dialog_layouts_give_controls_with_their_pages(self):
        dialogs = fuzz.parse_dialog_forms()
        settings = dialogs["INISettingsDlg"]
        self.assertEqual(settings["controls"]["cbImageUse"]["page"], 0)
        self.assertEqual(settings["controls"]["cbDescUse"]["page"], 5)
        self.assertIsNone(settings["controls"]["OKBtn"]["page"])
        self.assertEqual(settings["pages"]["Notebook"][0], "HyperImage")


class GeneratorTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.tour = Path(self.dir.name)
        (self.tour / "Unit1.dfm").write_text(
            "object Form1: TForm1\n  Caption = 'x'\n  object HyperTxt1: THyperTxt\n"
            "    Width = 105\n  end\n  object WavePlay1: TWavePlay\n  end\nend\n")
        (self.tour / "Unit2.dfm").write_text("object Form2: TForm2\nend\n")
        self.dialogs = fuzz.parse_dialog_forms()

    def tearDown(self):
        self.dir.cleanup()

    def script(self, seed, hostile=0.07):
        return fuzz.ScriptGenerator(seed, CATALOG, self.dialogs, self.tour,
                                    hostile_rate=hostile).generate()

    def test_a_seed_gives_the_same_script_and_seeds_differ(self):
        self.assertEqual(self.script(5), self.script(5))
        self.assertEqual(len({self.script(seed) for seed in range(20)}), 20)

    def test_a_value_stays_one_word_of_the_script(self):
        # The script has no escapes: a quoted word ends at the next double quote or line end.
        for value in ["plain", "two words", 'say "hi"', "line\nbreak", "", b"\xff\x00"]:
            with self.subTest(value=value):
                quoted = fuzz.quote(value)
                self.assertTrue(quoted.startswith(b'"') and quoted.endswith(b'"'))
                self.assertNotIn(b'"', quoted[1:-1])
                self.assertNotIn(b"\n", quoted)

    def test_an_undo_gives_a_frame_back_its_name(self):
        gen = fuzz.ScriptGenerator(1, CATALOG, self.dialogs, self.tour)
        form = gen.forms["form2"]
        before = form.snapshot()
        del gen.forms["form2"]
        form.name = "Renamed"
        gen.forms["renamed"] = form
        gen.changed(form, before)
        gen.rng = random.Random(0)
        gen.form = lambda: form
        gen.undo_redo()
        self.assertEqual(gen.lines[-1], b"undo Renamed")
        self.assertIn("form2", gen.forms)
        self.assertEqual(form.name, "Form2")

    def test_mutations_are_reproducible(self):
        data = b"[Status]\r\nINIAvailable=1\r\nSections=0\r\n"
        for kind in ("ini", "dpr", "wls"):
            once = fuzz.mutate_bytes(random.Random(3), data, kind)
            self.assertEqual(once, fuzz.mutate_bytes(random.Random(3), data, kind))


if __name__ == "__main__":
    unittest.main()

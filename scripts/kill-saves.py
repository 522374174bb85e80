#!/usr/bin/env python3
"""Kills the studio in the middle of saving a project, again and again, and checks that every
project opens afterwards whole: as it was before the save, or as the save meant to leave it,
with no file of the save's own left beside it.

Each round copies the tour, starts `mebrox-studio --headless` on a script that changes three
frames, adds a new one and saves, and kills it: half the rounds at a chosen step of writing the
save's files (MEBROX_KILL_AT_WRITE_STEP), half with SIGKILL from outside after a random delay.
The project is then opened again (which finishes a save its journal says was cut short).

    scripts/kill-saves.py [--rounds N] [--seed S] [--build DIR]
"""

import argparse
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

CHANGES = (
    'set Form1 Caption "One"\n'
    'set Form2 Caption "Two"\n'
    'set Form3 Caption "Three"\n'
    "newframe\n"
    "save\n"
)


def files_of(folder):
    out = {}
    for name in os.listdir(folder):
        path = os.path.join(folder, name)
        if os.path.isfile(path):
            with open(path, "rb") as f:
                out[name] = f.read()
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--rounds", type=int, default=60)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--build", default="build")
    args = parser.parse_args()
    studio = os.path.abspath(os.path.join(args.build, "apps/studio/mebrox-studio"))
    tour = os.path.abspath(os.path.join(args.build, "examples/tour"))
    if not os.access(studio, os.X_OK) or not os.path.isdir(tour):
        sys.exit(f"build the studio and the tour first (make test): {studio}")
    rng = random.Random(args.seed)
    work = tempfile.mkdtemp(prefix="mebrox-kill-saves-")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", SDL_AUDIODRIVER="dummy",
               XDG_STATE_HOME=os.path.join(work, "state"), MEBROX_WINDIR=os.path.join(work, "win"))
    script = os.path.join(work, "save.txt")
    with open(script, "w") as f:
        f.write(CHANGES)

    # What the save leaves when nothing stops it.
    whole = os.path.join(work, "whole")
    shutil.copytree(tour, whole)
    subprocess.run([studio, "--headless", "--script", script, "Tour.dpr"], cwd=whole, env=env,
                   stdout=subprocess.DEVNULL, check=True)
    new, old = files_of(whole), files_of(tour)
    start = time.monotonic()
    subprocess.run([studio, "--headless", "--script", script, "Tour.dpr"], cwd=whole, env=env,
                   stdout=subprocess.DEVNULL)
    run_time = time.monotonic() - start

    counts = {"old": 0, "new": 0, "finished": 0}
    failures = []
    for round_number in range(args.rounds):
        project = os.path.join(work, f"round{round_number}")
        shutil.copytree(tour, project)
        round_env = dict(env)
        by_step = round_number % 2 == 0
        if by_step:
            round_env["MEBROX_KILL_AT_WRITE_STEP"] = str(rng.randrange(0, 16))
        process = subprocess.Popen([studio, "--headless", "--script", script, "Tour.dpr"],
                                   cwd=project, env=round_env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        if not by_step:
            time.sleep(rng.uniform(0.5, 1.05) * run_time)
            process.send_signal(signal.SIGKILL)
        process.wait()
        opened = subprocess.run([studio, "--headless", "Tour.dpr"], cwd=project, env=env,
                                input="", capture_output=True, text=True)
        state = files_of(project)
        stray = [name for name in state if ".mebrox-" in name]
        if opened.returncode != 0 or stray or state not in (old, new):
            failures.append((project, opened.returncode, stray, opened.stderr.strip()))
            continue
        counts["new" if state == new else "old"] += 1
        counts["finished"] += "was cut short" in opened.stdout
        shutil.rmtree(project)

    print(f"{args.rounds} kills: {counts['old']} whole-old, {counts['new']} whole-new "
          f"({counts['finished']} finished from their journal at the next open), "
          f"{len(failures)} mixed or left files behind")
    for project, code, stray, err in failures:
        print(f"  {project}: open exit {code}, stray {stray}, {err}")
    if not failures:
        shutil.rmtree(work)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()

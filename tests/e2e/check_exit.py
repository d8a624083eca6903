"""Launches of their own: the window's close button ends the game with
status 0 from the menu, and a damaged state file still starts the game
(it reaches the menu and ends on F4 with status 0)."""

import os
import shutil
import subprocess
import sys

from e2e_support import GAME, SCRATCH, STATE_TOOL, demo

failures = []


def run(name, prepare, finish):
    out = os.path.join(SCRATCH, name)
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(os.path.join(out, "work"))
    prepare(os.path.join(out, "work"))
    s = demo.Session(GAME, out)
    try:
        s.launch()
        if s.game.find_window() is None:
            failures.append("%s: no window" % name)
        elif not s.stage("menu", "menu", "menu", timeout=20):
            failures.append("%s: the menu never showed" % name)
        status = s.finish(finish)
        if s.launches[-1]["ended by"] != finish or status != 0:
            failures.append("%s: ended by %s with status %s" % (name, s.launches[-1]["ended by"], status))
        with open(s.launches[-1]["output"]) as f:
            return f.read()
    finally:
        s.save()
        s.close()


def damaged_state(work):
    subprocess.run([STATE_TOOL, "seed"], cwd=work, check=True, capture_output=True)
    path = os.path.join(work, ".quillstate")
    with open(path) as f:
        parts = f.read().split("|")
    parts[36] = "7"  # a digit of Time Attack's table
    with open(path, "w") as f:
        f.write("|".join(parts))


run("close-button", lambda work: None, "close button")
printed = run("damaged-state", damaged_state, "F4")
for line in ("Settings Loaded", "Badges Loaded", "Highscores Loaded"):
    if line not in printed:
        failures.append("damaged-state: the game did not print %r" % line)
for f in failures:
    print("FAIL", f)
sys.exit(1 if failures else 0)

"""Plays the whole game through once (a seeded state file, every stage,
F4 and then a second launch closed by its close button); the other e2e
checks read what it leaves behind."""

import sys

from e2e_support import GAME, SESSION, STATE_TOOL, demo

summary = demo.play(GAME, SESSION, seed_tool=STATE_TOOL)
demo.report(summary)
ends = [(launch.get("ended by"), launch["exit"]) for launch in summary["launches"]]
# The session itself only has to run: the game starts, ends on F4 and, the
# second time, on its close button, with status 0 each time. What the stages
# showed is judged by the other checks.
print("launches ended by:", ends)
sys.exit(0 if ends == [("F4", 0), ("close button", 0)] else 1)

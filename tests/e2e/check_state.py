"""The state file a session leaves behind, read by the game's own loading
code: all three checksums hold, Time Attack's lists carry the rounds' scores
on top of the planted entries, and one changed digit in a table resets that
table alone on the next load while a copy of the file is kept."""

import os
import shutil
import sys

from e2e_support import SCRATCH, session, state_show

PLANTED = 4242  # what the state tool plants in the one-player last-ten lists
summary = session()
failures = []


def expect(ok, what):
    print("ok  " if ok else "FAIL", what)
    if not ok:
        failures.append(what)


messages, settings, lists = state_show(summary["work"])
for m in ("Settings Loaded", "Badges Loaded", "Highscores Loaded"):
    expect(m in messages, "state file: %s" % m)
expect(not any("Invalid" in m for m in messages), "no checksum complaints: %s" % messages)

# Two Time Attack rounds, one quit from the pause menu and one played to its
# end: both keep their scores.
last, top = lists[(1, "second")], lists[(1, "first")]
earned = sorted((s for s in last[:2] if s > 0), reverse=True)
expect(last[2:] == [PLANTED] * 8, "Time Attack's last scores gained two entries: %s" % last)
expect(top == earned + [0] * (10 - len(earned)),
       "Time Attack's top ten holds the scores %s only if they scored: %s" % (last[:2], top))
print("round scores recorded:", last[:2])

# One digit changed in Time Attack's table (its second entry of the last
# scores, part 35 + 2 + 1 of the string).
damaged = os.path.join(SCRATCH, "damaged")
shutil.rmtree(damaged, ignore_errors=True)
os.makedirs(damaged)
with open(os.path.join(summary["work"], ".quillstate")) as f:
    parts = f.read().split("|")
parts[38] = parts[38][:-1] + str((int(parts[38][-1]) + 1) % 10)
with open(os.path.join(damaged, ".quillstate"), "w") as f:
    f.write("|".join(parts))
messages2, settings2, lists2 = state_show(damaged)
with open(os.path.join(damaged, ".quillstate.bad")) as f:
    expect(f.read() == "|".join(parts), "damaged table: the player's bytes are kept in .quillstate.bad")
expect("Settings Loaded" in messages2 and "Badges Loaded" in messages2,
       "damaged table: settings and badges still load")
expect(settings2 == settings, "damaged table: settings kept")
expect(lists2[(1, "first")] == [0] * 10 and lists2[(1, "second")] == [0] * 10,
       "damaged table: Time Attack's table is reset")
expect(all(lists2[key] == lists[key] for key in lists if key[0] != 1),
       "damaged table: every other table loads as saved")
sys.exit(1 if failures else 0)

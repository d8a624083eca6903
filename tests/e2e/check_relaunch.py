"""What a player sees of the records: after the finished round the Time
Attack panel differs from before it (the new entry), and a second launch
shows exactly the panel the first session ended with."""

import sys

from e2e_support import demo, session, stage

summary = session()
failures = []


def panel(name):
    st = stage(summary, name)
    if st is None or not st["reached"]:
        failures.append("%s: not reached" % name)
        return None
    pic = demo.Picture.load(st["shot"])
    return pic.mask(demo.records_box(st["window"]), demo.records_text)


def likeness(a, b):
    return len(a & b) / max(1, len(a | b))


before, after, again = panel("records-before"), panel("records-after"), panel("relaunch-records")
if None not in (before, after, again):
    print("records lettering: %d, %d, %d pixels" % (len(before), len(after), len(again)))
    print("alike before/after the round: %.3f, after/second launch: %.3f"
          % (likeness(before, after), likeness(after, again)))
    if likeness(before, after) > 0.98:
        failures.append("the records panel did not change after the round")
    if likeness(after, again) < 0.98:
        failures.append("the second launch shows other records")
for f in failures:
    print("FAIL", f)
sys.exit(1 if failures else 0)

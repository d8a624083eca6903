"""Each stage named on the command line was reached in the played session,
and its screenshot shows that screen and no other: the loading spinner, the
blue menu, a black round field, the paused spirograph, the brown options
box, the game-over bars, full screen and back. A round starts with ship 1
flown by the computer ("AI" over its base) until the keyboard player joins."""

import sys

from e2e_support import demo, session, stage

# Screens that never share the window; an overlay (game over, records,
# full screen) is judged on its own.
EXCLUSIVE = ["loading", "menu", "round", "pause", "options"]

summary = session()
failures = []
for name in sys.argv[1:]:
    st = stage(summary, name)
    if st is None or not st["reached"]:
        failures.append("%s: not reached (see %s)" % (name, st and st["shot"]))
        continue
    pic, win = demo.Picture.load(st["shot"]), st["window"]
    if not demo.CHECKS[st["look"]](pic, win):
        failures.append("%s: screenshot does not show %s" % (name, st["look"]))
    if name.startswith("round-") and not demo.computer_flies_ship_1(pic, win):
        failures.append("%s: ship 1 is not the computer's at the start" % name)
    if name.startswith(("flying-", "banking-")):
        # The label's own pixels, as the round's first shot shows them, are
        # gone once the keyboard player has joined (a passing rock may still
        # cross the spot).
        first = stage(summary, "round-" + name.split("-", 1)[1])
        label = demo.Picture.load(first["shot"]).mask(demo.ai_label_box(first["window"]),
                                                      demo.grey_lettering)
        still = label & pic.mask(demo.ai_label_box(win), demo.grey_lettering)
        if len(still) > 0.6 * len(label):
            failures.append("%s: the keyboard player did not take ship 1 over" % name)
    if st["look"] in EXCLUSIVE:
        also = [look for look in EXCLUSIVE if look != st["look"] and demo.CHECKS[look](pic, win)]
        if also:
            failures.append("%s: screenshot also looks like %s" % (name, ", ".join(also)))
for f in failures:
    print("FAIL", f)
print("%d stages checked, %d failures" % (len(sys.argv) - 1, len(failures)))
sys.exit(1 if failures else 0)

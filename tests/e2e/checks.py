"""What the plays left behind, judged from outside: `checks.py screens
STAGE...`, `checks.py audio`, `checks.py state` or `checks.py relaunch`."""

import os, pathlib, shutil, sys, wave

import driver as d
from driver import expect


def screens(names):
    """Each named stage was reached in every play and its shot shows that screen
    and no other. A round starts with ship 1 flown by the computer ("AI" over its
    base); the label's pixels in the round's first shot are gone once the
    keyboard player has joined (a passing rock may still cross the spot)."""
    exclusive = ["loading", "menu", "round", "pause", "options"]  # never share the window
    stages = d.stages()
    for name, st in ((name, st) for name in names for st in stages.get(name, [{"reached": False}])):
        if not expect(st["reached"], "%s: reached (see %s)" % (name, st.get("shot"))):
            continue
        pic, win, look = d.Picture.load(st["shot"]), st["window"], st["look"]
        expect(d.CHECKS[look](pic, win), "%s: the shot shows %s" % (name, look))
        also = [other for other in exclusive if look in exclusive and other != look and d.CHECKS[other](pic, win)]
        expect(not also, "%s: the shot looks like nothing else %s" % (name, also))
        if name.startswith("round-"):
            expect(pic.share(d.ai_label_box(win), d.grey_lettering, step=1) > 0.005,
                   "%s: ship 1 is the computer's at the start" % name)
        if name.startswith(("flying-", "banking-")):
            first = stages["round-" + name.split("-", 1)[1]][0]
            label = d.Picture.load(first["shot"]).mask(d.ai_label_box(first["window"]), d.grey_lettering)
            still = label & pic.mask(d.ai_label_box(win), d.grey_lettering)
            expect(len(still) <= 0.6 * len(label), "%s: the keyboard player took ship 1 over" % name)


def audio(_):
    """The start jingle plays within the first seconds and lasts as long as its file; the options
    box's sound level is heard: clicks are silent while it is OFF and audible again at Loud."""
    noise, audible = 30.0, 300.0  # RMS of 16-bit samples
    launch = d.session("options")["launches"][0]
    sound, events = (lambda a, b: d.envelope(launch["audio"], a, b)), dict(launch["events"])
    with wave.open(os.path.join(os.path.dirname(d.GAME), "data", "sfx", "096.wav")) as w:
        jingle = w.getnframes() / w.getframerate()
    onset = next((i * 0.05 for i, v in enumerate(sound(0, 6)) if v > noise * 3), None)
    expect(onset is not None and onset < 4.0, "the jingle starts within 4 s of launch (at %s s)" % onset)
    if onset is not None:
        span = sound(onset, onset + jingle * 0.8)
        heard = sum(v > noise for v in span) / max(1, len(span))
        expect(heard > 0.6, "the jingle sounds for its %.1f s (%.0f %% of slices)" % (jingle, 100 * heard))
    # Event times count from launch and the device opens a little later, so
    # the windows are trimmed to stay inside what was surely played.
    if not expect({"silent clicks end", "loud clicks end"} <= events.keys(), "the options stage ran"):
        return
    quiet = max(sound(events["silent clicks start"] + 0.3, events["silent clicks end"]), default=0)
    clicks = max(sound(events["loud clicks start"], events["loud clicks end"] + 0.5), default=0)
    expect(quiet < noise, "menu clicks are silent with the sound OFF (loudest %.0f)" % quiet)
    expect(clicks > audible, "menu clicks are heard again at Loud (loudest %.0f)" % clicks)


def state(_):
    """The state files the plays leave, read by the game's own loading code:
    the checksums hold and Time Attack's lists carry the round's score (quit
    from the pause menu, or played to its end) on top of the planted ones; one
    changed digit resets that table alone on the next load and is kept."""
    planted = 4242  # what the state tool plants in the one-player last-ten lists
    for name in ("solo", "time-attack"):
        work = d.session(name)["work"]
        messages, tables = d.state_show(work)
        expect(all(m in messages for m in ("Settings Loaded", "Badges Loaded", "Highscores Loaded"))
               and not any("Invalid" in m for m in messages), "%s: the state file loads: %s" % (name, messages))
        last, top = tables["mode 1 second"], tables["mode 1 first"]
        expect(last[1:] == [planted] * 9, "%s: Time Attack's last scores gained an entry: %s" % (name, last))
        expect(top == [s for s in last[:1] if s > 0] + [0] * (10 - (last[0] > 0)),
               "%s: the top ten holds that score only if it scored: %s" % (name, top))
    # One digit of Time Attack's second last-ten entry (part 35 + 2 + 1).
    damaged = pathlib.Path(d.SCRATCH, "damaged")
    shutil.rmtree(damaged, ignore_errors=True)
    damaged.mkdir(parents=True)
    parts = pathlib.Path(work, ".quillstate").read_text().split("|")
    parts[38] = parts[38][:-1] + str((int(parts[38][-1]) + 1) % 10)
    (damaged / ".quillstate").write_text("|".join(parts))
    messages2, tables2 = d.state_show(damaged)
    expect((damaged / ".quillstate.bad").read_text() == "|".join(parts),
           "damaged table: the player's bytes are kept in .quillstate.bad")
    expect(tables2["mode 1 first"] == tables2["mode 1 second"] == [0] * 10, "damaged table: Time Attack's is reset")
    expect("Settings Loaded" in messages2 and "Badges Loaded" in messages2 and
           all(tables2[key] == tables[key] for key in tables if not key.startswith("mode 1 ")),
           "damaged table: the settings, badges and every other table load as saved")


def relaunch(_):
    """After the finished round the Time Attack records panel differs from
    before it (the new entry), and a second launch shows exactly the panel
    the first one ended with."""
    stages, panels = d.stages("time-attack"), []
    for name in ("records-before", "records-after", "relaunch-records"):
        st = stages.get(name, [{"reached": False}])[0]
        if expect(st["reached"], "%s reached" % name):
            panels.append(d.Picture.load(st["shot"]).mask(d.records_box(st["window"]), d.records_text))
    if len(panels) == 3:
        alike = lambda a, b: len(a & b) / max(1, len(a | b))
        expect(alike(*panels[:2]) <= 0.98, "the panel changed after the round (%.3f alike)" % alike(*panels[:2]))
        expect(alike(*panels[1:]) >= 0.98, "the second launch shows the same (%.3f alike)" % alike(*panels[1:]))


{"screens": screens, "audio": audio, "state": state, "relaunch": relaunch}[sys.argv[1]](sys.argv[2:])
sys.exit(bool(d.FAILED))

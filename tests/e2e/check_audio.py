"""The game's captured sound: the start jingle plays within the first
seconds and lasts as long as its file, a session is not silent, and the
options box's sound level is heard: clicks are silent while it is OFF and
audible again at Loud."""

import os
import sys

from e2e_support import GAME, Sound, session

NOISE = 30.0    # RMS of what counts as silence (16-bit samples)
AUDIBLE = 300.0

summary = session()
launch = summary["launches"][0]
sound = Sound(launch["audio"])
events = dict(launch["events"])
failures = []


def expect(ok, what):
    print("ok  " if ok else "FAIL", what)
    if not ok:
        failures.append(what)


expect(sound.seconds() > 10, "the capture runs for the session (%.1f s)" % sound.seconds())
loud = max(sound.envelope(0, sound.seconds(), 0.1), default=0)
expect(loud > AUDIBLE, "the session is not silent (loudest slice RMS %.0f)" % loud)

jingle = Sound(os.path.join(os.path.dirname(GAME), "data", "sfx", "096.wav"))
env = sound.envelope(0, 6, 0.05)
onset = next((i * 0.05 for i, v in enumerate(env) if v > NOISE * 3), None)
expect(onset is not None and onset < 4.0, "the jingle starts within 4 s of launch (at %s s)"
       % (None if onset is None else round(onset, 2)))
if onset is not None:
    span = sound.envelope(onset, onset + jingle.seconds() * 0.8, 0.05)
    heard = sum(v > NOISE for v in span) / max(1, len(span))
    expect(heard > 0.6, "the jingle sounds for its length, %.1f s (%.0f %% of slices)"
           % (jingle.seconds(), 100 * heard))

# Event times are measured from launch; the device opens a little later, so
# the windows below are trimmed to stay inside what was surely played.
if "silent clicks start" in events and "loud clicks start" in events:
    quiet = sound.envelope(events["silent clicks start"] + 0.3, events["silent clicks end"], 0.05)
    clicks = sound.envelope(events["loud clicks start"], events["loud clicks end"] + 0.5, 0.05)
    expect(max(quiet, default=0) < NOISE,
           "menu clicks are silent with the sound OFF (loudest %.0f)" % max(quiet, default=0))
    expect(max(clicks, default=0) > AUDIBLE,
           "menu clicks are heard again at Loud (loudest %.0f)" % max(clicks, default=0))
else:
    expect(False, "the options stage ran (sound level events recorded)")
sys.exit(1 if failures else 0)

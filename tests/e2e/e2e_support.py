"""What the end-to-end checks share: the demo driver itself, the played
session's summary, the game's captured sound and the state tool."""

import importlib.machinery
import importlib.util
import json
import os
import struct
import subprocess
import sys
import warnings

with warnings.catch_warnings():
    warnings.simplefilter("ignore", DeprecationWarning)
    try:
        import audioop
    except ImportError:  # gone from newer Pythons; the slow way then
        audioop = None

SOURCE = os.environ.get("LARKSPIN_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
GAME = os.environ.get("LARKSPIN_E2E_GAME", "")
STATE_TOOL = os.environ.get("LARKSPIN_E2E_STATE_TOOL", "")
SESSION = os.environ.get("LARKSPIN_E2E_SESSION", "")
SCRATCH = os.environ.get("LARKSPIN_E2E_SCRATCH", "/tmp/larkspin-e2e")


def load_driver():
    path = os.path.join(SOURCE, "scripts", "larkspin-demo")
    loader = importlib.machinery.SourceFileLoader("larkspin_demo", path)
    module_spec = importlib.util.spec_from_loader("larkspin_demo", loader)
    module = importlib.util.module_from_spec(module_spec)
    loader.exec_module(module)
    return module


demo = load_driver()


def session():
    path = os.path.join(SESSION, "session.json")
    if not os.path.exists(path):
        sys.exit("no played session at %s (e2e_session runs first)" % SESSION)
    with open(path) as f:
        return json.load(f)


def stage(summary, name):
    for st in summary["stages"]:
        if st["stage"] == name:
            return st
    return None


def state_show(directory):
    """The state tool's reading of directory/.quillstate: (messages, settings, lists)
    where lists[(mode, "first" | "second")] is that list of ten."""
    out = subprocess.run([STATE_TOOL, "show"], cwd=directory, capture_output=True, text=True,
                         timeout=60, check=True).stdout
    messages, settings, lists = [], [], {}
    for line in out.splitlines():
        if line.startswith("settings:"):
            settings = [int(v) for v in line.split()[1:]]
        elif line.startswith("mode "):
            head, values = line.split(":")
            _, mode, which = head.split()
            lists[(int(mode), which)] = [int(v) for v in values.split()]
        else:
            messages.append(line.strip())
    return messages, settings, lists


class Sound:
    """A 16-bit PCM capture from the wave backend. A program that ends without
    closing its device leaves the header's sizes unwritten, so the data chunk
    is read to the end of the file whatever its size field says."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
            raise ValueError("%s is not a WAV file" % path)
        pos, self.rate, self.channels, self.pcm = 12, 44100, 2, b""
        while pos + 8 <= len(data):
            kind, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
            if kind == b"fmt ":
                fmt, self.channels, self.rate = struct.unpack("<HHI", data[pos + 8:pos + 16])
                bits = struct.unpack("<H", data[pos + 22:pos + 24])[0]
                if fmt not in (1, 0xFFFE) or bits != 16:
                    raise ValueError("%s: expected 16-bit PCM" % path)
            if kind == b"data":
                end = len(data) if size == 0 or pos + 8 + size > len(data) else pos + 8 + size
                self.pcm = data[pos + 8:end]
                break
            pos += 8 + size + (size & 1)
        self.frame = 2 * self.channels

    def seconds(self):
        return len(self.pcm) / (self.frame * self.rate)

    def rms(self, start, end):
        a = max(0, int(start * self.rate)) * self.frame
        b = min(len(self.pcm), int(end * self.rate) * self.frame)
        chunk = self.pcm[a:b]
        if len(chunk) < 2:
            return 0.0
        if audioop:
            return float(audioop.rms(chunk, 2))
        samples = struct.unpack("<%dh" % (len(chunk) // 2), chunk[:len(chunk) // 2 * 2])
        return (sum(s * s for s in samples) / len(samples)) ** 0.5

    def envelope(self, start, end, step=0.05):
        """RMS of each step-long slice from start to end."""
        t, out = start, []
        while t < end:
            out.append(self.rms(t, t + step))
            t += step
        return out

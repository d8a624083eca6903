"""`cmake --install` into a fresh prefix: the program with data/ beside it,
the launcher on the PATH, the desktop entry and the icon in three sizes;
then the launcher starts the game from the user's state directory under
Xvfb, and the game ends on F4 with status 0."""

import os
import shutil
import struct
import subprocess
import sys

from e2e_support import SCRATCH, demo

BUILD = os.environ["LARKSPIN_BINARY_DIR"]
prefix = os.path.join(SCRATCH, "install", "prefix")
home = os.path.join(SCRATCH, "install", "xdg")
shutil.rmtree(os.path.dirname(prefix), ignore_errors=True)
failures = []


def expect(ok, what):
    print("ok  " if ok else "FAIL", what)
    if not ok:
        failures.append(what)


subprocess.run(["cmake", "--install", BUILD, "--prefix", prefix], check=True, capture_output=True)


def at(*parts):
    return os.path.join(prefix, *parts)


program, launcher = at("lib", "larkspin", "larkspin"), at("bin", "larkspin")
expect(os.access(program, os.X_OK), "the program is lib/larkspin/larkspin")
for name in ("gfx.png", "menu-hd.png", "fonts", "sfx/096.wav", "sfx/fish.ogg"):
    expect(os.path.exists(at("lib", "larkspin", "data", name)), "data/%s beside it" % name)
expect(os.access(launcher, os.X_OK), "the launcher is bin/larkspin")
with open(at("share", "applications", "larkspin.desktop")) as f:
    entry = f.read()
expect("Exec=larkspin\n" in entry and "Icon=larkspin\n" in entry and "Name=Larkspin\n" in entry,
       "the desktop entry starts larkspin with its icon")
for size in (128, 256, 512):
    path = at("share", "icons", "hicolor", "%dx%d" % (size, size), "apps", "larkspin.png")
    with open(path, "rb") as f:
        head = f.read(24)
    expect(head[:8] == b"\x89PNG\r\n\x1a\n" and struct.unpack(">II", head[16:24]) == (size, size),
           "a %d-pixel icon" % size)

# The launcher, run from the PATH with a state directory of its own.
xvfb = demo.Xvfb()
x11 = demo.X11(xvfb.display)
try:
    env = dict(os.environ, DISPLAY=xvfb.display, XDG_DATA_HOME=home, ALSOFT_DRIVERS="null",
               PATH=at("bin") + os.pathsep + os.environ.get("PATH", ""))
    game = demo.Game(["larkspin"], xvfb.display, "/", os.path.join(SCRATCH, "install", "output.txt"),
                     x11, env)
    proc = game.proc
    expect(game.find_window() is not None, "the launcher opens the game's window")
    state_dir = os.path.join(home, "larkspin")
    expect(os.path.realpath("/proc/%d/cwd" % proc.pid) == os.path.realpath(state_dir),
           "the game runs in $XDG_DATA_HOME/larkspin")
    game.tap("F4")
    status = game.wait(15)
    expect(status == 0, "F4 ends it with status 0 (got %s)" % status)
    game.kill()
finally:
    x11.close()
    xvfb.stop()
sys.exit(1 if failures else 0)

"""The game as it is installed, both ways. `cmake --install` into a fresh prefix: the program
with data/ beside it, the launcher, the manual page and the icon in three sizes. The Debian
package CPack builds: its dependencies, its contents unpacked with `dpkg -x`, the licence,
lintian and three validators; its launcher answers --version and starts the game from the
user's state directory to its menu, and F4 ends it."""

import glob, os, pathlib, shutil, struct, subprocess, sys, xml.etree.ElementTree as ET

import driver

BUILD, SOURCE = os.environ["LARKSPIN_BINARY_DIR"], os.environ["LARKSPIN_SOURCE_DIR"]
work = os.path.join(driver.SCRATCH, "install")
prefix, root, home = (os.path.join(work, name) for name in ("prefix", "root", "xdg"))
shutil.rmtree(work, ignore_errors=True)
expect = driver.expect
run = lambda *argv, **kw: subprocess.run(argv, capture_output=True, text=True, timeout=120, **kw)


run("cmake", "--install", BUILD, "--prefix", prefix).check_returncode()
at = lambda *parts: os.path.join(prefix, *parts)
expect(os.access(at("lib", "larkspin", "larkspin"), os.X_OK), "the program is lib/larkspin/larkspin")
for name in ("gfx.png", "menu-hd.png", "fonts", "sfx/096.wav", "sfx/fish.ogg"):
    expect(os.path.exists(at("lib", "larkspin", "data", name)), "data/%s beside it" % name)
expect(os.access(at("bin", "larkspin"), os.X_OK), "the launcher is bin/larkspin")
expect(os.path.exists(at("share", "man", "man6", "larkspin.6")), "the manual page larkspin(6)")
for size in (128, 256, 512):
    head = pathlib.Path(at("share", "icons", "hicolor", "%dx%d" % (size, size), "apps", "larkspin.png")).read_bytes()
    expect(head[:8] == b"\x89PNG\r\n\x1a\n" and struct.unpack(">II", head[16:24]) == (size, size),
           "a %d-pixel icon" % size)

# The package, unpacked as dpkg would install it.
run("cpack", "--config", os.path.join(BUILD, "CPackConfig.cmake"), "-B", work).check_returncode()
debs = glob.glob(os.path.join(work, "larkspin_*_*.deb"))
expect(len(debs) == 1, "one larkspin_<version>_<arch>.deb")
deb = debs[0]
field = lambda name: run("dpkg-deb", "-f", deb, name).stdout.strip()
depends = field("Depends")
for library in ("libc6", "libglfw3", "libopenal1"):
    expect(library in depends, "it depends on %s" % library)
expect("libstb" not in depends, "the picture and Ogg decoders are built in, not the system's libstb")
run("dpkg", "-x", deb, root).check_returncode()
usr = lambda *parts: os.path.join(root, "usr", *parts)
for path in ("games/larkspin", "lib/games/larkspin/larkspin"):
    expect(os.access(usr(path), os.X_OK), "/usr/%s" % path)
for name in ("gfx.png", "sfx/fish.ogg"):
    expect(os.path.exists(usr("share", "games", "larkspin", name)), "its data in /usr/share/games")
first_line = pathlib.Path(SOURCE, "LICENSE").read_text().splitlines()[0].strip()
copyright = pathlib.Path(usr("share", "doc", "larkspin", "copyright")).read_text()
expect(copyright.startswith("Format: https://www.debian.org/doc/packaging-manuals/copyright-format")
       and first_line in copyright and "License: Zlib" in copyright, "the machine-readable licence")
lintian = run("lintian", "--fail-on", "error,warning", deb)
expect(lintian.returncode == 0, "lintian has no errors or warnings: %s" % lintian.stdout.strip())

# The desktop entry and the metainfo name each other; both validators pass.
metainfo = glob.glob(usr("share", "metainfo", "*.metainfo.xml"))
expect(len(metainfo) == 1, "one metainfo file")
launchable = ET.parse(metainfo[0]).getroot().findtext("launchable")
desktop = usr("share", "applications", launchable)
entry = pathlib.Path(desktop).read_text()
expect("Exec=larkspin\n" in entry and "Icon=larkspin\n" in entry and "Name=Larkspin\n" in entry,
       "the metainfo's desktop entry starts larkspin with its icon")
appstream = run("appstreamcli", "validate", "--no-net", metainfo[0])
expect(appstream.returncode == 0 and not any(line[:2] in ("E:", "W:") for line in appstream.stdout.splitlines()),
       "appstreamcli validate: %s" % appstream.stdout.strip())
validate = run("desktop-file-validate", desktop)
expect(validate.returncode == 0 and not validate.stdout, "desktop-file-validate: %s" % validate.stdout)
manual = run("man", "--warnings", "-l", usr("share", "man", "man6", "larkspin.6.gz"),
             env=dict(os.environ, MANWIDTH="80"))
expect(manual.returncode == 0 and "EXIT STATUS" in manual.stdout and not manual.stderr,
       "man renders larkspin(6) without warnings: %s" % manual.stderr.strip())

# The launcher, run from the PATH with a state directory of its own.
env = dict(os.environ, XDG_DATA_HOME=home, ALSOFT_DRIVERS="null",
           PATH=usr("games") + os.pathsep + os.environ.get("PATH", ""))
version = run("larkspin", "--version", env=env)
expect(version.stdout == "Larkspin %s\n" % field("Version"), "--version: %s" % version.stdout)
session = driver.Session(os.path.join(work, "play"))
try:
    session.launch(["larkspin"], cwd="/", env=env)
    expect(session.window, "the launcher opens the game's window")
    # The records panel's lettering needs the game's data: a bare menu does not.
    expect(session.stage("menu", "records", timeout=20), "the packaged game reaches its menu with its data")
    expect(os.path.realpath("/proc/%d/cwd" % session.proc.pid) == os.path.realpath(os.path.join(home, "larkspin")),
           "the game runs in $XDG_DATA_HOME/larkspin")
    expect(session.finish("F4") == 0, "F4 ends it with status 0")
finally:
    session.close()
sys.exit(bool(driver.FAILED))

"""Plays Larkspin in a private Xvfb server as a player would (xdotool presses the
keys) for `make demo` and the e2e tests. A play's folder keeps a shot of every
stage (NN-<stage>.png, judged by colours and regions only that screen has), each
launch's sound (audio-<run>.wav) and output, its work/ folder and session.json."""

import argparse, array, collections, contextlib, ctypes, json, operator, os, pathlib
import shutil, signal, struct, subprocess, sys, threading, time, zlib

SCREEN_W, SCREEN_H, WINDOW_W, WINDOW_H = 1280, 1024, 640, 480  # the X screen; the game's window
GUARD = 600  # seconds an X server or a detached game lives at most, whatever becomes of the run
GAME, STATE_TOOL, SESSION = (os.environ.get("LARKSPIN_E2E_" + name, "") for name in ("GAME", "STATE_TOOL", "SESSION"))
SCRATCH = os.environ.get("LARKSPIN_E2E_SCRATCH", "/tmp/larkspin-e2e")


class Picture:
    """An RGB screenshot, kept as a PNG of one IDAT chunk of unfiltered rows,
    with the few measurements the stages need."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    @classmethod
    def load(cls, path):
        data = pathlib.Path(path).read_bytes()
        width, height = struct.unpack(">II", data[16:24])
        raw, stride = zlib.decompress(data[41:41 + struct.unpack(">I", data[33:37])[0]]), width * 3 + 1
        return cls(width, height, b"".join(raw[y * stride + 1:(y + 1) * stride] for y in range(height)))

    def save(self, path):
        stride = self.width * 3
        rows = b"".join(b"\0" + self.rgb[y * stride:(y + 1) * stride] for y in range(self.height))
        chunk = lambda k, b: struct.pack(">I", len(b)) + k + b + struct.pack(">I", zlib.crc32(k + b))
        ihdr = chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0))
        idat = chunk(b"IDAT", zlib.compress(rows, 6))
        pathlib.Path(path).write_bytes(b"\x89PNG\r\n\x1a\n" + ihdr + idat + chunk(b"IEND", b""))
        return path

    def pixel(self, x, y): return self.rgb[(y * self.width + x) * 3:(y * self.width + x) * 3 + 3]

    def share(self, box, test, step=2):
        """Fraction of the (sampled) pixels in box for which test holds."""
        x0, y0, x1, y1 = box
        hits = [test(self.pixel(x, y)) for y in range(max(0, y0), min(self.height, y1), step)
                for x in range(max(0, x0), min(self.width, x1), step)]
        return sum(hits) / len(hits) if hits else 0.0

    def mask(self, box, test):
        """The pixels of box that pass test, as a set of (x, y) offsets."""
        x0, y0, x1, y1 = box
        return {(x - x0, y - y0) for y in range(y0, y1) for x in range(x0, x1) if test(self.pixel(x, y))}


# ------------------------------- what each screen looks like, in its window

def near(colour): return lambda p: all(abs(a - b) <= 60 for a, b in zip(p, colour))
def dark(p): return max(p) < 40
def white(p): return min(p) > 200
def menu_blue(p): return p[2] > 110 and p[2] > p[0] + 60 and p[1] < p[2]  # (20, 80, 160) eased in
def grey_lettering(p): return min(p) > 60
def records_text(p): return p[0] > 150 and p[1] > 150 and p[2] < 140  # orange and green lettering


def is_loading(pic, win):  # black, the blue and orange spinner rings and the logo
    x, y, w, h = win
    return (pic.share((x, y, x + w, y + h), near((0, 125, 255))) > 0.002 and
            pic.share((x, y, x + w, y + h), near((255, 125, 0))) > 0.002 and
            pic.share((x, y, x + w, y + 40), dark) > 0.8)


def is_menu(pic, win): return pic.share((win[0], win[1], win[0] + win[2] // 2, win[1] + win[3]), menu_blue) > 0.35


def is_round(pic, win):  # a black field, ship 1's base lit in the top left corner
    x, y, w, h = win
    corner = (x + 66, y + 34, x + 126, y + 94)
    return (pic.share((x + 140, y + 120, x + w - 140, y + h - 120), dark) > 0.6 and
            pic.share(corner, lambda p: max(p) > 60, step=1) > 0.02 and
            pic.share(corner, lambda p: p[0] > p[1] + 25 and p[0] > 60, step=1) > 0.003 and
            not is_pause(pic, win))


def is_pause(pic, win):  # black, white buttons on the left, "PAUSED", the spirograph's ribbon
    x, y, w, h = win
    return (pic.share((x, y, x + w, y + h), dark, step=4) > 0.75 and
            pic.share((x + 34, y + 66, x + 94, y + 326), white) > 0.03 and
            pic.share((x + w // 2 + 40, y + h // 2 - 12, x + w // 2 + 160, y + h // 2 + 12), white,
                      step=1) > 0.1 and
            pic.share((x + w // 2 - 60, y, x + w, y + h), lambda p: max(p) - min(p) > 70) > 0.001)


def is_game_over(pic, win):  # the yellow and orange bars across the middle
    x, y, w, h = win
    y45, y55 = y + int(h * 0.45), y + int(h * 0.55)
    return (pic.share((x, y45 - 6, x + w // 3, y45 + 6),
                      lambda p: p[0] > 110 and p[1] > 110 and p[2] < 90, step=1) > 0.5 and
            pic.share((x + 2 * w // 3, y55 - 6, x + w, y55 + 6),
                      lambda p: p[0] > 110 and 40 < p[1] < p[0] - 40 and p[2] < 90, step=1) > 0.5)


def is_options(pic, win):  # the brown options panel, risen all the way up
    x, y, w, h = win
    brown = lambda p: p[0] > p[1] + 35 and p[1] > p[2] + 10 and p[0] > 90
    return (pic.share((x + 60, y + 80, x + w - 60, y + h - 10), brown) > 0.4 and
            pic.share((x + 60, y + 4, x + w - 60, y + 16), brown) > 0.5)


def ai_label_box(win):  # "AI" over the top left base while the computer flies ship 1
    return (win[0] + 84, win[1] + 40, win[0] + 108, win[1] + 56)


def records_box(win):  # the records on the right of the menu (rows start at y 60)
    return (win[0] + win[2] - 230, win[1] + 40, win[0] + win[2] - 4, win[1] + win[3] - 40)


def has_records(pic, win): return pic.share(records_box(win), records_text, step=1) > 0.01


def is_fullscreen(pic, _win):  # the menu's blue and the records' navy in every corner
    W, H = SCREEN_W, SCREEN_H
    corners = [(8, 8, 60, 60), (W - 60, 8, W - 8, 60), (8, H - 60, 60, H - 8), (W - 60, H - 60, W - 8, H - 8)]
    return (all(pic.share(c, lambda p: p[2] > 50 and p[2] > p[0] + 30) > 0.5 for c in corners) and
            is_menu(pic, (0, 0, W, H)))


def is_windowed_menu(pic, win): return is_menu(pic, win) and pic.share((8, 8, 200, 200), menu_blue) < 0.1


CHECKS = {"loading": is_loading, "menu": is_menu, "round": is_round, "pause": is_pause, "game-over": is_game_over,
          "options": is_options, "records": has_records, "fullscreen": is_fullscreen, "windowed": is_windowed_menu}


class XImage(ctypes.Structure):
    _fields_ = [(n, ctypes.POINTER(ctypes.c_ubyte) if n == "data" else ctypes.c_int) for n in (
        "width height xoffset format data byte_order unit bit_order pad depth bytes_per_line bits_per_pixel".split())]


class XClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]


def kill_group(pid, sig=signal.SIGKILL):
    with contextlib.suppress(ProcessLookupError):
        os.killpg(pid, sig) if pid else None


class Xvfb:
    """A private X server on a free display (or the one another run left), doing
    what xdotool cannot: fast screen grabs, and a window manager's close button."""

    def __init__(self, display=None, pid=None):
        if display is None:
            read_end, write_end = os.pipe()
            pid = subprocess.Popen(["timeout", str(GUARD), "Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp",
                                    "-noreset", "-screen", "0", "%dx%dx24" % (SCREEN_W, SCREEN_H)],
                                   pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   start_new_session=True).pid
            os.close(write_end)
            with os.fdopen(read_end) as f:
                display = ":" + f.readline().strip()
        self.display, self.pid = display, pid
        x = self.x = ctypes.CDLL("libX11.so.6")
        for name, restype in (("XOpenDisplay", ctypes.c_void_p), ("XDefaultRootWindow", ctypes.c_ulong),
                              ("XGetImage", ctypes.POINTER(XImage)), ("XInternAtom", ctypes.c_ulong)):
            getattr(x, name).restype = restype
        self.dpy = ctypes.c_void_p(x.XOpenDisplay(self.display.encode()))
        if not self.dpy.value:
            self.stop()
            raise RuntimeError("cannot open X display %s" % self.display)
        self.root = ctypes.c_ulong(x.XDefaultRootWindow(self.dpy))

    def grab(self):
        image = self.x.XGetImage(self.dpy, self.root, 0, 0, SCREEN_W, SCREEN_H, ctypes.c_ulong(~0), 2)
        im = image.contents
        try:
            raw = ctypes.string_at(im.data, im.bytes_per_line * im.height)
            rgb = bytearray(im.width * im.height * 3)
            rgb[0::3], rgb[1::3], rgb[2::3] = raw[2::4], raw[1::4], raw[0::4]
            return Picture(im.width, im.height, bytes(rgb))
        finally:
            self.x.XDestroyImage(image)

    def close_request(self, window):
        ev = XClientMessage(type=33, window=window, format=32,  # 33: ClientMessage
                            message_type=self.x.XInternAtom(self.dpy, b"WM_PROTOCOLS", 0))
        ev.data[0] = self.x.XInternAtom(self.dpy, b"WM_DELETE_WINDOW", 0)
        self.x.XSendEvent(self.dpy, ctypes.c_ulong(window), 0, ctypes.c_long(0), ctypes.byref(ev))
        self.x.XFlush(self.dpy)

    def stop(self):
        if self.dpy.value:
            self.x.XCloseDisplay(self.dpy)
        kill_group(self.pid, signal.SIGTERM)


class Detached(collections.namedtuple("Detached", "pid status")):
    """A launch that outlives the run that started it: a shell runs it under
    the guard and leaves its exit status in a file for whoever ends it."""

    def poll(self):
        with contextlib.suppress(OSError, ValueError):
            return int(pathlib.Path(self.status).read_text())
        return None if self.pid and os.path.exists("/proc/%d" % self.pid) else -1  # -1: gone without a word

    def kill(self): kill_group(self.pid)


class Session:
    """One X server, launches of the program on it and the stages they reached.
    detach "start" leaves the server and the first launch running when the run
    ends; "end" takes over what a "start" run left in the same folder."""

    def __init__(self, out, detach=None):
        self.out, self.work, self.detach, self.proc, self.window = out, os.path.join(out, "work"), detach, None, None
        if detach == "end":
            saved = json.loads(pathlib.Path(out, "session.json").read_text())
            self.stages, self.launches, self.detached = saved["stages"], saved["launches"], saved["detached"]
            if not self.detached:
                sys.exit("nothing left running in %s (e2e_play_time-attack_start runs first)" % out)
            self.xvfb = Xvfb(self.detached["display"], self.detached["xvfb"])
            self.proc = Detached(self.detached.get("game"), self.detached.get("status", ""))
            self.started = self.detached.get("started", 0)
            self.find_window()
            return
        shutil.rmtree(out, ignore_errors=True)
        os.makedirs(self.work)
        self.stages, self.launches, self.xvfb = [], [], Xvfb()
        self.detached = {"display": self.xvfb.display, "xvfb": self.xvfb.pid}

    def launch(self, argv, cwd=None, env=None):
        """Starts the program (its sound captured unless env is given); returns the first frames not
        all black, grabbed while its window is sought and judged after: the loading screen is brief."""
        n = len(self.launches) + 1
        audio, output = (os.path.join(self.out, name % n) for name in ("audio-%d.wav", "output-%d.txt"))
        if env is None:
            with open(audio + ".alsoftrc", "w") as f:
                f.write("[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\n"
                        "frequency = 44100\n[wave]\nfile = %s\n" % os.path.abspath(audio))
            env = dict(os.environ, ALSOFT_CONF=os.path.abspath(f.name), ALSOFT_DRIVERS="wave")
        status = os.path.join(self.out, "status-%d" % n)
        if self.detach == "start" and n == 1:
            argv = ["sh", "-c", 'timeout --foreground %d "$@"; echo $? >"$0"' % GUARD, status] + argv
        self.launches.append({"run": n, "audio": audio, "output": output, "events": [], "exit": None})
        self.started, self.window = time.monotonic(), None
        with open(output, "w") as log:
            self.proc = subprocess.Popen(argv, cwd=cwd or self.work, stdout=log, stderr=subprocess.STDOUT,
                                         env=dict(env, DISPLAY=self.xvfb.display),
                                         start_new_session=argv[0] == "sh")
        if argv[0] == "sh":
            self.detached.update(game=self.proc.pid, status=status, started=self.started)
            self.proc = Detached(self.proc.pid, status)
            self.save()
        finder, frames, end = threading.Thread(target=self.find_window, args=(20,)), [], time.monotonic() + 20
        finder.start()
        while len(frames) < 20 and time.monotonic() < end and (finder.is_alive() or self.window):
            pic = self.xvfb.grab()
            frames += [pic] if pic.rgb.strip(b"\0") else []
            time.sleep(0.02)
        finder.join()
        return frames

    def xdo(self, *args):
        return subprocess.run(["xdotool"] + [str(a) for a in args], capture_output=True, text=True,
                              env=dict(os.environ, DISPLAY=self.xvfb.display), timeout=30).stdout

    def find_window(self, timeout=5):
        """Waits for the window titled Larkspin, gives it the keyboard, notes where it is."""
        end = time.monotonic() + timeout
        while time.monotonic() < end and self.running():
            ids = self.xdo("search", "--onlyvisible", "--name", "^Larkspin$").split()
            if ids:
                self.xdo("windowfocus", ids[-1])
                out = dict(v.split("=", 1) for v in self.xdo("getwindowgeometry", "--shell", ids[-1]).split())
                self.box = [int(out.get(k) or d) for k, d in zip(("X", "Y", "WIDTH", "HEIGHT"),
                                                                   (0, 0, WINDOW_W, WINDOW_H))]
                self.window = int(ids[-1])
                return self.window
            time.sleep(0.05)

    def hold(self, keys, seconds):
        """Keeps keys down for a while: the game reads held keys once per update."""
        self.xdo("keydown", *keys.split())
        time.sleep(seconds)
        self.xdo("keyup", *reversed(keys.split()))

    def tap(self, keys, times=1, gap=0.15):
        for _ in range(times):
            self.hold(keys, 0.1)
            time.sleep(gap)

    def click(self, x, y, hold=0.1):
        """A touch held for hold seconds: one xdotool run, so a short hold stays short."""
        self.xdo("mousemove", self.box[0] + x, self.box[1] + y)
        self.xdo("mousedown", 1, "sleep", hold, "mouseup", 1)
        time.sleep(0.15)

    def running(self): return self.proc is not None and self.proc.poll() is None

    def event(self, what):  # the time since launch of something the captured sound should show
        self.launches[-1]["events"].append([what, round(time.monotonic() - self.started, 3)])

    def finish(self, how):  # "F4" or "close button"; returns the exit status
        if not self.running():
            how = "nothing: it had already ended"
        elif self.find_window():
            self.event(how)
            if how == "F4":
                self.tap("F4")
            else:
                self.xvfb.close_request(self.window)
        end = time.monotonic() + 15
        while self.proc.poll() is None and time.monotonic() < end:
            time.sleep(0.05)
        status = self.proc.poll()  # None: close() kills it
        self.launches[-1].update({"exit": status, "ended by": how})
        print("  launch %d ended by %s: exit status %s" % (len(self.launches), how, status))
        return status

    def stage(self, name, look, timeout=8.0, frames=()):
        """Waits for the screen (frames first) to pass the look's check; keeps that shot."""
        frames, end, pic, reached = list(frames), time.monotonic() + timeout, None, False
        while self.running() and self.window:
            pic = frames.pop(0) if frames else self.xvfb.grab()
            reached = CHECKS[look](pic, self.box)
            if reached or (not frames and time.monotonic() > end):
                break
            time.sleep(0 if frames else 0.03)
        path = pic and pic.save(os.path.join(self.out, "%02d-%s%s.png" % (
            len(self.stages) + 1, name, "" if reached else "-not-reached")))
        self.stages.append({"stage": name, "look": look, "reached": reached, "shot": path,
                            "window": list(self.box) if self.window else None})
        print("  %-28s %s" % (name, "ok" if reached else "NOT REACHED"))
        return reached

    def save(self):
        with open(os.path.join(self.out, "session.json"), "w") as f:
            json.dump({"stages": self.stages, "launches": self.launches, "work": self.work,
                       "detached": self.detached}, f, indent=1)

    def close(self):
        """Stops the program and the server unless a later run takes them over; saves the session."""
        if self.detach != "start":
            if self.running():
                self.proc.kill()
            self.xvfb.stop()
            self.detached = {}
        self.save()


# ------------------------------------------------------------ the plays

MODES = ["Time Attack", "Three Lives", "Survival", "Battle-Two", "Battle-Three", "Battle-Four"]
PLAY_BUTTON = (WINDOW_W - 110, WINDOW_H - 48)
QUICK_CLICK = 0.005  # a touchpad tap: pressed and released within one update


def to_dial(s, mode):
    """Turns the dial (it starts on 2) to mode 1..6 and focuses it: left twice
    reaches the options cog whatever had the focus, right once is the dial."""
    for key, times in (("Up", 6), ("Down", mode - 1), ("Left", 2), ("Right", 1)):
        s.tap(key, times)


def play_round(s, mode):
    """Starts a mode with the play button (the fire keys would take ship 1 over
    at once), joins with the keyboard, flies, shoots and banks; quits by the pause
    menu (Time Attack's after its spirograph) unless a destroyed ship ended it."""
    tag = MODES[mode - 1].lower().replace(" ", "-")
    to_dial(s, mode)
    time.sleep(0.3)
    s.click(*PLAY_BUTTON, hold=QUICK_CLICK if mode == 2 else 0.1)
    if s.stage("round-" + tag, "round"):
        s.tap("space")                    # the keyboard player takes ship 1 over
        time.sleep(5.2 if mode >= 4 else 0)  # battles count down from 3 first
        s.hold("Right", 0.8)              # out along the top edge
        s.hold("Down", 0.3)
        for _ in range(3):                # shooting ahead and around
            s.tap("z")
            s.hold("Left", 0.2)
        s.hold("z Right", 0.5)
        s.stage("flying-" + tag, "round", timeout=3)
        s.hold("Up Left", 1.8)            # home to the base: banks what it carries
        s.stage("banking-" + tag, "round", timeout=3)
    if is_round(s.xvfb.grab(), s.box):    # Back over the menu would end the program
        s.tap("Escape")
        if mode == 1 and s.stage("pause-spirograph", "pause"):
            s.hold("Right", 1.0)          # the toy: faster pen, longer arm
            s.hold("Down", 0.6)
            s.stage("pause-toy", "pause")
            s.tap("Up", 2)                # down marked options; up twice marks quit
            s.tap("Return")
            s.stage("quit-overlay", "game-over", timeout=5)
        else:
            time.sleep(0.6)
            s.tap("Up")                   # resume is marked; up marks quit
            s.tap("Return")
    s.stage("menu-after-quit" if mode == 1 else "menu-after-%d" % mode, "menu", timeout=10)
    time.sleep(0.5)


def options(s):
    """Menu clicks with the sound set OFF in the options box, then at Loud; full screen and back."""
    for level, steps in (("silent", 3), ("loud", 1)):  # Normal, Quiet, OFF; then Loud
        s.tap("Left", 3)                  # focus on the options cog
        s.tap("Return")
        if steps == 3 and not s.stage("options-box", "options"):
            break
        time.sleep(0.8)                   # it slides in before it takes keys
        s.tap("Up", 3)                    # the close gear (the box keeps its choice)
        s.tap("Down")                     # "Sound"
        s.tap("Return", steps)
        if steps == 3:
            s.stage("options-sound-off", "options")
        s.tap("Escape")                   # back closes the box and saves
        time.sleep(0.8)
        s.event(level + " clicks start")
        for key in ["Up", "Down"] * 4:
            s.tap(key, gap=0.3)
        s.event(level + " clicks end")
    s.stage("options-closed", "menu")
    for look in ("fullscreen", "windowed"):
        s.tap("F11")
        time.sleep(0.5)
        s.find_window()
        s.stage(look, look, timeout=10)


def time_attack_start(s):
    """A round left to run out its two minutes, the computer scoring with ship 1."""
    to_dial(s, 1)
    time.sleep(0.8)
    s.stage("records-before", "records")
    s.click(*PLAY_BUTTON)
    s.stage("round-to-finish", "round")


def time_attack_end(s):
    """The round's end and its new record; a second launch, ended by the close button, shows it."""
    s.stage("finished-overlay", "game-over", timeout=300)
    s.stage("records-new-entry", "records", timeout=15)
    time.sleep(1.5)
    s.stage("records-after", "records")
    if s.finish("F4") != 0:
        return False
    s.launch([s.exe])
    s.stage("relaunch-menu", "menu", timeout=15)
    to_dial(s, 1)
    time.sleep(1.5)
    s.stage("relaunch-records", "records", timeout=5)
    return s.finish("close button") == 0


PLAYS = {"solo": lambda s: [play_round(s, mode) for mode in (1, 2, 3)],
         "battles": lambda s: [play_round(s, mode) for mode in (4, 5, 6)], "options": options,
         "time-attack": time_attack_start}


def play(name, exe, out, detach=None):
    """One play (detach: time-attack's start or end alone); true when every launch ended with status 0."""
    s = Session(out, detach)
    s.exe = os.path.abspath(exe)
    try:
        if detach != "end":
            if STATE_TOOL:                # the tests' plays start from planted records
                subprocess.run([STATE_TOOL, "seed"], cwd=s.work, check=True, capture_output=True)
            print("%s: %s on %s, output in %s" % (name, exe, s.xvfb.display, out))
            s.stage("loading", "loading", timeout=10, frames=s.launch([s.exe]))
            if not s.stage("menu", "menu", timeout=15):
                return False
            time.sleep(1.0)               # the menu eases in before it takes keys
            PLAYS[name](s)
        if name != "time-attack":
            return s.finish("F4") == 0
        return detach == "start" or time_attack_end(s)
    finally:
        s.close()


# ------------------------------------------------ reading back the plays

def session(name):
    with open(os.path.join(SESSION, name, "session.json")) as f:  # its play runs first
        return json.load(f)


def stages(*plays):
    # Each stage's entries in the plays (each play has a loading screen and a menu).
    found = {}
    for st in (st for name in plays or PLAYS for st in session(name)["stages"]):
        found.setdefault(st["stage"], []).append(st)
    return found


def state_show(directory):
    """directory/.quillstate read by the state tool: load messages, tables by name ("mode 1 first")."""
    out = subprocess.run([STATE_TOOL, "show"], cwd=directory, capture_output=True, text=True,
                         timeout=60, check=True).stdout.splitlines()
    table = lambda line: line.startswith(("settings:", "mode "))
    return ([line.strip() for line in out if not table(line)],
            {head: [int(v) for v in values.split()] for head, _, values in (l.partition(":") for l in out if table(l))})


def envelope(path, start, end, step=0.05):
    """RMS of each step-long slice from start to end of a capture: all after the
    data chunk's header, whose size a program ending without closing its device leaves unwritten."""
    data = pathlib.Path(path).read_bytes()
    begin, rate = data.index(b"data", 12) + 8, 2 * 44100  # samples per second, the channels interleaved
    pcm, out, n = array.array("h", data[begin:len(data) - (len(data) - begin) % 2]), [], int(step * rate)
    for a in range(max(0, int(start * rate)), min(len(pcm), int(end * rate)), n):
        chunk = pcm[a:a + n]
        out.append((sum(map(operator.mul, chunk, chunk)) / len(chunk)) ** 0.5)
    return out


FAILED = []


def expect(ok, what):  # the checks end with status 1 if any FAILED
    print("ok  " if ok else "FAIL", what)
    FAILED.extend([] if ok else [what])
    return ok


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("plays", nargs="*", default=list(PLAYS), help=", ".join(PLAYS))
    ap.add_argument("--exe", default=GAME or "build/larkspin", help="the game program")
    ap.add_argument("--out", default=SESSION or "build/demo", help="one folder per play goes here")
    ap.add_argument("--detach", choices=("start", "end"), help="time-attack: only start its round, or only end it")
    args = ap.parse_args()
    sys.exit(not all([play(name, args.exe, os.path.join(args.out, name), args.detach) for name in args.plays]))


if __name__ == "__main__":
    main()

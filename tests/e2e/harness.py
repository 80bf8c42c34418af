"""Runs the real program in a private X server and drives it like a user.

Each test gets its own Xvfb, a fresh copy of the run folder and a start from
another working folder; it clicks with xdotool, reads the screen with
ImageMagick's import and reads the files the program writes.
"""

import fcntl
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from Xlib import X, Xatom, display as xdisplay, protocol

SCREEN_WIDTH, SCREEN_HEIGHT = 1280, 1024
# Room for the 1080 x 1920 window of double pixel density.
BIG_SCREEN = (2400, 2200)
STARTUP_TIMEOUT = 60
REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# What AddressSanitizer, LeakSanitizer, ThreadSanitizer and UBSan print.
SANITIZER_REPORT = re.compile(r"ERROR: \w+Sanitizer|WARNING: ThreadSanitizer|runtime error:")

BACKGROUND = (254, 235, 193)
INK = (61, 37, 1)
SOLVER_INK = (64, 64, 192)

# Over a billion steps: the search is still running when Stop is clicked.
HARD = ("9..8...........5............2..1...3.1.....6....4...7.7.86........."
        "3.1..4.....2..")


def fail(message):
    raise AssertionError(message)


def check(condition, message):
    if not condition:
        fail(message)


def poll_until(condition, timeout):
    """The condition's first true value within the timeout, or None."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.1)
    return None


def wait_until(condition, timeout, what):
    value = poll_until(condition, timeout)
    if value is None:
        fail("timed out waiting for " + what)
    return value


class Screenshot:
    def __init__(self, path):
        self.path = path
        raw = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True,
                             capture_output=True).stdout
        size = subprocess.run(["identify", "-format", "%w %h", path], check=True,
                              capture_output=True, text=True).stdout.split()
        self.width, self.height = int(size[0]), int(size[1])
        self.raw = raw

    def pixel(self, x, y):
        i = (int(y) * self.width + int(x)) * 3
        return tuple(self.raw[i:i + 3])

    def count(self, x0, y0, x1, y1, predicate):
        """Pixels in [x0, x1) x [y0, y1) for which predicate(rgb) holds."""
        return sum(1 for y in range(y0, y1) for x in range(x0, x1)
                   if predicate(self.pixel(x, y)))


def near(colour, expected, tolerance=6):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


class Session:
    """One X server; programs started in it share it."""

    def __init__(self, run_dir, name, screen=(SCREEN_WIDTH, SCREEN_HEIGHT), window_manager=False):
        self.source_run_dir = run_dir
        self.work = tempfile.mkdtemp(prefix="tessarin-e2e-")
        self.shots = os.path.join(os.path.dirname(run_dir), "e2e-screenshots", name)
        os.makedirs(self.shots, exist_ok=True)
        self.run_dir = os.path.join(self.work, "tessarin")
        shutil.copytree(run_dir, self.run_dir)
        # What a run of the program there left: every test starts as a first start.
        for leftover in ("autosave", "session", ".open-request", "tmp"):
            path = os.path.join(self.run_dir, leftover)
            if os.path.isdir(path):
                shutil.rmtree(path)
            elif os.path.exists(path):
                os.remove(path)
        self.elsewhere = os.path.join(self.work, "elsewhere")
        os.makedirs(self.elsewhere)
        read_fd, write_fd = os.pipe()
        # -noreset: by default the server resets when its last client leaves,
        # and a program started during the reset cannot connect.
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-noreset", "-screen", "0",
             "%dx%dx24" % screen, "-nolisten", "tcp"],
            pass_fds=(write_fd,), stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        check(number, "Xvfb did not start")
        self.display = ":" + number
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("WAYLAND_DISPLAY", None)
        # The user's data folder of the session's own: start-up reads a save
        # there too, and a failed save goes there.
        self.env["XDG_DATA_HOME"] = os.path.join(self.work, "data")
        self.window_manager = None
        if window_manager:
            self.start_window_manager()
        self.program = None
        self.command = [self.path("tessarin")]
        self.window = None
        self.shot_count = 0
        # Window pixels per layout unit that the test expects of the program.
        self.scale = 1

    def start_window_manager(self):
        """Openbox on this server, as a desktop has: frames, placement, minimising."""
        self.window_manager = subprocess.Popen(
            ["openbox", "--sm-disable"], env=self.env, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        conn = xdisplay.Display(self.display)
        check_atom = conn.intern_atom("_NET_SUPPORTING_WM_CHECK")
        try:
            wait_until(lambda: conn.screen().root.get_full_property(
                check_atom, X.AnyPropertyType), 30, "the window manager")
        finally:
            conn.close()

    def path(self, *parts):
        return os.path.join(self.run_dir, *parts)

    def rename_run_folder(self, name):
        """Moves the run folder to another name (letters outside ASCII, say);
        later starts run the program from there."""
        renamed = os.path.join(self.work, name)
        os.rename(self.run_dir, renamed)
        self.command = [renamed + part[len(self.run_dir):] if part.startswith(self.run_dir)
                        else part for part in self.command]
        self.run_dir = renamed

    def start(self, expect_window=True):
        """Starts the program from another folder and waits for its game screen."""
        self.stderr_path = os.path.join(self.work, "stderr.txt")
        self.stderr_file = open(self.stderr_path, "w")
        self.program = subprocess.Popen(self.command, cwd=self.elsewhere,
                                        env=self.env, stdout=subprocess.DEVNULL,
                                        stderr=self.stderr_file)
        if not expect_window:
            return
        self.window = wait_until(self.find_window, STARTUP_TIMEOUT, "the window")
        wait_until(self.game_screen_shown, STARTUP_TIMEOUT, "the game screen")

    def find_window(self):
        return self.find_named_window("^game")

    def find_named_window(self, pattern):
        """A window of the running program whose title matches, or None."""
        if self.program.poll() is not None:
            fail("the program ended early with status %d: %s"
                 % (self.program.returncode, self.stderr()))
        found = subprocess.run(["xdotool", "search", "--name", pattern], env=self.env,
                               capture_output=True, text=True).stdout.split()
        return found[0] if found else None

    def game_screen_shown(self):
        # The grid's thick top-left corner in ink means the game frame is up.
        try:
            shot = self.screenshot(keep=False)
        except subprocess.CalledProcessError:
            return False  # the window is not mapped yet
        return (near(shot.pixel(45.5 * self.scale, 175.5 * self.scale), INK, 10)
                and near(shot.pixel(10, 10), BACKGROUND))

    def stderr(self):
        with open(self.stderr_path) as f:
            return f.read()

    def set_xft_dpi(self, dpi):
        """Sets Xft.dpi in the server's resource database, which GLFW reads at
        start-up for the monitors' content scale; None takes it away."""
        conn = xdisplay.Display(self.display)
        root = conn.screen().root
        resources = conn.intern_atom("RESOURCE_MANAGER")
        if dpi is None:
            root.delete_property(resources)
        else:
            root.change_property(resources, Xatom.STRING, 8, b"Xft.dpi:\t%d\n" % dpi)
        conn.sync()
        conn.close()

    def title(self):
        return subprocess.run(["xdotool", "getwindowname", self.window], env=self.env,
                              capture_output=True, text=True).stdout.strip()

    def window_geometry(self):
        out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", self.window],
                             env=self.env, capture_output=True, text=True).stdout
        values = dict(line.split("=") for line in out.split())
        return (int(values["X"]), int(values["Y"]), int(values["WIDTH"]),
                int(values["HEIGHT"]))

    def screenshot(self, keep=True, name=None):
        self.shot_count += 1
        label = name or "shot%02d" % self.shot_count
        path = os.path.join(self.shots if keep else self.work, label + ".png")
        subprocess.run(["import", "-window", self.window, path], env=self.env, check=True,
                       stderr=subprocess.DEVNULL)
        return Screenshot(path)

    def settle(self, seconds=0.3):
        time.sleep(seconds)

    def click(self, x, y, button=1):
        subprocess.run(["xdotool", "mousemove", "--window", self.window, str(int(x)),
                        str(int(y)), "click", str(button)], env=self.env, check=True)
        self.settle()

    def key(self, *keys):
        # Without a window manager the keyboard follows the pointer.
        subprocess.run(["xdotool", "mousemove", "--window", self.window, "5", "5"],
                       env=self.env, check=True)
        subprocess.run(["xdotool", "key", "--clearmodifiers"] + list(keys), env=self.env,
                       check=True)
        self.settle()

    def set_clipboard(self, text):
        """Puts text on the clipboard. xclip stays behind as its owner and
        serves it until another program copies or the server ends."""
        subprocess.run(["xclip", "-selection", "clipboard"], input=text.encode(), env=self.env,
                       check=True)
        wait_until(lambda: self.clipboard() == text, 10, "the clipboard to hold %r" % text)

    def clipboard(self):
        # Bytes decoded by hand: text mode would turn Windows line ends into "\n".
        return subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=self.env,
                              capture_output=True, timeout=10).stdout.decode()

    def request_close(self):
        """Asks the window to close as a window manager would (WM_DELETE_WINDOW)."""
        conn = xdisplay.Display(self.display)
        window = conn.create_resource_object("window", int(self.window))
        protocols = conn.intern_atom("WM_PROTOCOLS")
        delete = conn.intern_atom("WM_DELETE_WINDOW")
        event = protocol.event.ClientMessage(window=window, client_type=protocols,
                                             data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        window.send_event(event, event_mask=X.NoEventMask)
        # A round trip, not just a flush: closing the connection straight after
        # a flush loses the event now and then (about 1 run in 10 under load).
        conn.sync()
        conn.close()

    def wait_exit(self, timeout=30):
        try:
            return self.program.wait(timeout)
        except subprocess.TimeoutExpired:
            self.program.kill()
            fail("the program did not end")

    def scroll(self, up=0, down=0):
        """Wheel clicks over the window's middle: buttons 4 (away) and 5 (towards)."""
        subprocess.run(["xdotool", "mousemove", "--window", self.window, "270", "480"],
                       env=self.env, check=True)
        for button, count in (("4", up), ("5", down)):
            if count:
                subprocess.run(["xdotool", "click", "--repeat", str(count), "--delay", "20",
                                button], env=self.env, check=True)

    def clicks(self, x, y, count, delay_ms=1):
        """Several quick clicks at one point, faster than a user could."""
        subprocess.run(["xdotool", "mousemove", "--window", self.window, str(int(x)),
                        str(int(y)), "click", "--repeat", str(count), "--delay",
                        str(delay_ms), "1"], env=self.env, check=True)
        self.settle()

    def fps(self):
        """The frame count the title shows, or None before the first one."""
        match = re.search(r"\(fps: (\d+)\)", self.title())
        return int(match.group(1)) if match else None

    def rss_kib(self):
        """Resident memory of the running program in KiB."""
        with open("/proc/%d/status" % self.program.pid) as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        fail("no VmRSS for the program")

    def sanitizer_reports(self):
        """Lines of the program's stderr that come from a sanitizer build's checks."""
        return [line for line in self.stderr().splitlines() if SANITIZER_REPORT.search(line)]

    def read(self, *parts):
        with open(self.path(*parts), "rb") as f:
            return f.read()

    def write(self, data, *parts):
        with open(self.path(*parts), "wb") as f:
            f.write(data)

    def close(self):
        if self.program and self.program.poll() is None:
            self.program.kill()
            self.program.wait()
        if self.window_manager:
            self.window_manager.terminate()
            self.window_manager.wait()
        self.xvfb.terminate()
        self.xvfb.wait()
        shutil.rmtree(self.work, ignore_errors=True)


def build_package(script):
    """Runs scripts/<script>, unless scripts/test has built every package already."""
    if os.environ.get("TESSARIN_PACKAGES_BUILT"):
        return
    started = time.monotonic()
    built = subprocess.run([os.path.join(REPO, "scripts", script)], stdout=subprocess.PIPE,
                           stderr=subprocess.STDOUT, text=True)
    check(built.returncode == 0, "scripts/%s failed:\n%s" % (script, built.stdout[-3000:]))
    print("scripts/%s took %.1f s" % (script, time.monotonic() - started))


def wine_prefix_template(env, folder):
    """A fresh wine prefix, made once per build folder (about 15 s) and copied
    by every session after; a lock keeps tests running side by side from
    making it twice."""
    template = os.path.join(folder, "wine-prefix")
    with open(template + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not os.path.exists(os.path.join(template, "system.reg")):
            shutil.rmtree(template, ignore_errors=True)
            made = dict(env, WINEPREFIX=template)
            quiet = dict(env=made, check=True, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL)
            subprocess.run(["wine", "wineboot", "--init"], **quiet)
            # Without a window manager every hide or destroy of a managed
            # window waits about 2 s for an answer that never comes.
            subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v",
                            "Managed", "/d", "N", "/f"], **quiet)
            # The registry reaches the disk when the prefix's server ends.
            subprocess.run(["wineserver", "-w"], **quiet)
    return template


class WineSession(Session):
    """A Session whose program is a Windows executable run by wine, in a copy
    of a fresh wine prefix of its own."""

    def __init__(self, run_dir, name, executable="tessarin.exe", screen=BIG_SCREEN):
        super().__init__(run_dir, name, screen)
        # No Mono or Gecko installer dialogs while the prefix is made.
        self.env.update(WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        self.command = ["wine", self.path(executable)]
        try:
            template = wine_prefix_template(self.env, os.path.dirname(self.source_run_dir))
            self.env["WINEPREFIX"] = os.path.join(self.work, "wineprefix")
            shutil.copytree(template, self.env["WINEPREFIX"], symlinks=True)
        except Exception:
            self.close()
            raise

    def wine(self, *args):
        subprocess.run(["wine"] + list(args), env=self.env, cwd=self.elsewhere, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def find_window(self):
        # wine draws the window frame itself; OpenGL draws into a child X
        # window over the client area, which is what the tests look at.
        frame = super().find_window()
        if not frame:
            return None
        conn = xdisplay.Display(self.display)
        try:
            children = conn.create_resource_object("window", int(frame)).query_tree().children
            return str(children[0].id) if children else None
        finally:
            conn.close()

    def set_log_pixels(self, dpi):
        """The Windows display density for the next start; the wineserver is
        restarted so that the program sees it."""
        self.wine("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t",
                  "REG_DWORD", "/d", str(dpi), "/f")
        subprocess.run(["wineserver", "-k", "-w"], env=self.env, stderr=subprocess.DEVNULL)

    def close(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        super().close()


def autosave_bytes(puzzle):
    """The 82-byte save for a puzzle written as 81 characters, '.' for empty."""
    return bytes([1] + [0 if c == "." else int(c) for c in puzzle])


# Where the layout puts things in the 540 x 960 window (times the pixel scale).
def fit_in(width, height):
    """Layout units to window pixels: as large as the window holds, smaller
    or larger than it opened; centred."""
    unit = min(width / 540, height / 960)
    dx, dy = int(width / unit) // 2 - 270, int(height / unit) // 2 - 480
    fit = lambda x, y: (int((x + dx) * unit + 0.5), int((y + dy) * unit + 0.5))
    fit.unit = unit
    return fit


def cell_centre(index, scale=1):
    return scale * (70 + 50 * (index % 9)), scale * (200 + 50 * (index // 9))


def palette_centre(digit, scale=1):
    i, j = (digit - 1) // 3, (digit - 1) % 3
    return scale * (205 + 65 * j), scale * (675 + 65 * i)


CLEAR = (100, 675)
SOLVE = (440, 675)
ERASER = (400, 805)


def run(tests):
    """Runs each test function with a fresh Session; prints a summary line."""
    run_dir = os.path.abspath(sys.argv[1])
    failed = 0
    for test in tests:
        # A test may ask for another size of screen with a `screen` attribute,
        # and for a window manager with `window_manager`.
        screen = getattr(test, "screen", (SCREEN_WIDTH, SCREEN_HEIGHT))
        session = Session(run_dir, test.__name__, screen, getattr(test, "window_manager", False))
        started = time.monotonic()
        try:
            test(session)
            print("PASS %s (%.1f s)" % (test.__name__, time.monotonic() - started))
        except Exception as error:  # report every failure, then go on
            failed += 1
            print("FAIL %s: %s" % (test.__name__, error))
            import traceback
            traceback.print_exc()
        finally:
            session.close()
    print("%d passed, %d failed" % (len(tests) - failed, failed))
    sys.exit(1 if failed else 0)


def digit_pixels(shot, centre, colour, reach=16, tolerance=40):
    """Pixels of a digit's colour in the square around a centre."""
    x, y = centre
    return shot.count(x - reach, y - reach, x + reach, y + reach,
                      lambda p: near(p, colour, tolerance))


def shows_digit(shot, index, colour=INK):
    return digit_pixels(shot, cell_centre(index), colour) > 20


def outlined(shot, centre):
    """The 3-unit selection outline: its left bar lies 28 to 30 left of the centre."""
    x, y = centre
    return all(near(shot.pixel(x - 30 + dx, y), INK, 10) for dx in range(3))


def responds(s, digit=1):
    """The program still draws the board and reacts: a palette click shows
    its outline, a second one takes it away again."""
    check(s.program.poll() is None, "the program ended: %s" % s.stderr()[-3000:])
    s.click(*palette_centre(digit))
    shot = s.screenshot(keep=False)
    check(near(shot.pixel(46, 176), INK, 10), "the grid is drawn")
    check(outlined(shot, palette_centre(digit)), "a palette click shows its outline")
    s.click(*palette_centre(digit))
    check(not outlined(s.screenshot(keep=False), palette_centre(digit)),
          "a second click takes the outline away")


def crop(shot, centre, half_width, half_height):
    x, y = centre
    return [shot.pixel(i, j) for j in range(y - half_height, y + half_height)
            for i in range(x - half_width, x + half_width)]

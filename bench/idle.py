"""The program's processor time while its board is still (nothing selected,
no search, no notice), as a share of one core over a few seconds, several
times; against the same board while a selected digit pulses, a frame every
frame as every board was drawn before the loop learnt to rest. Then how soon
a key shows: from a key press sent to the X server (XTest) to the frame with
the palette's outline, read from the server a pixel at a time, from a still
board and from a moving one (a notice on the line).

usage: idle.py <run folder>
"""

import os
import time

from Xlib import X, XK, display as xdisplay
from Xlib.ext import xtest

from driving import median, session
from harness import INK, near, palette_centre

STILL_RUNS = 3
SECONDS = 5
PRESSES = 15


def cpu_seconds(s):
    """User and system time of the whole program so far."""
    with open("/proc/%d/stat" % s.program.pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def core_share(s, seconds):
    before = cpu_seconds(s)
    time.sleep(seconds)
    return (cpu_seconds(s) - before) / seconds


def outlined(window, digit):
    """The selection outline's left bar, 29 units left of the palette digit's centre."""
    x, y = palette_centre(digit)
    data = window.get_image(x - 29, y, 1, 1, X.ZPixmap, 0xFFFFFFFF).data
    return near((data[2], data[1], data[0]), INK, 10)


def key_to_frame(conn, window, keycode, digit, shown):
    """Seconds from a key press to the frame where the digit's outline is `shown`."""
    started = time.monotonic()
    xtest.fake_input(conn, X.KeyPress, keycode)
    xtest.fake_input(conn, X.KeyRelease, keycode)
    conn.sync()
    while outlined(window, digit) != shown:
        if time.monotonic() - started > 5:
            raise RuntimeError("the key did not show within 5 s")
    return time.monotonic() - started


def latencies(s, conn, moving):
    """Key 5 selects the digit, Escape drops it; each from a still board, or
    with a notice showing (L four times: the same length, said on the line)."""
    window = conn.create_resource_object("window", int(s.window))
    five = conn.keysym_to_keycode(XK.string_to_keysym("5"))
    escape = conn.keysym_to_keycode(XK.string_to_keysym("Escape"))
    times = []
    for _ in range(PRESSES):
        for keycode, shown in ((five, True), (escape, False)):
            if moving:
                s.key("l", "l", "l", "l")
            else:
                time.sleep(0.6)
            times.append(key_to_frame(conn, window, keycode, 5, shown))
    return times


def main():
    s = session("bench_idle")
    conn = None
    try:
        s.start()
        # The long search's givens hold two 4s; Solve is not clicked.
        s.key("Escape")
        time.sleep(1)
        still = [core_share(s, SECONDS) for _ in range(STILL_RUNS)]
        still_title = s.title()
        s.key("4")
        time.sleep(1)
        pulsing = core_share(s, SECONDS)
        pulsing_title = s.title()
        s.key("Escape")
        # Keys go to the window under the pointer, without a window manager.
        s.key("Escape")
        conn = xdisplay.Display(s.display)
        from_still = latencies(s, conn, False)
        from_moving = latencies(s, conn, True)
        s.key("q")
        s.wait_exit()
    finally:
        if conn:
            conn.close()
        s.close()

    print("still board: %s of a core over %d s each (goal: at most 1 %%); title %r"
          % (", ".join("%.2f %%" % (100 * v) for v in still), SECONDS, still_title))
    print("a digit pulsing (a frame every frame): %.1f %% of a core; title %r"
          % (100 * pulsing, pulsing_title))

    def ms(label, values):
        print("%s median %5.1f ms, %5.1f to %5.1f" % (label, 1000 * median(values),
                                                     1000 * min(values), 1000 * max(values)))
    ms("key to frame from a still board: ", from_still)
    ms("key to frame from a moving board:", from_moving)
    print("  still - moving: %.1f ms (goal: within one frame, 5 ms)"
          % (1000 * (median(from_still) - median(from_moving))))


main()

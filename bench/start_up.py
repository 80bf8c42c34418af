"""Time from process start to the first game frame on screen, cold (no tmp/,
so every font is baked) and warm (font caches present), against the floor:
a bare GLFW window with the program's hints that clears to cream and swaps
once (bench/bare_window.cpp). Several runs of each in turns, medians and
ranges. The screen is read straight from the X server a pixel at a time, so a
frame shows within about a millisecond of its swap. The game frame has the
grid's thick corner in ink and the window's corner in cream; the program's
first frame, the cream clear, ends the window, context and renderer set-up,
and the part after it (loading screen, fonts, image, save) is the part the
font caches shorten.

usage: start_up.py <run folder> <bare window program> [runs, default 7]
"""

import os
import shutil
import subprocess
import sys
import time

from Xlib import X, display as xdisplay

from driving import median, session
from harness import BACKGROUND, INK, near

def pixel(window, x, y):
    data = window.get_image(x, y, 1, 1, X.ZPixmap, 0xFFFFFFFF).data
    return (data[2], data[1], data[0])


def game_window(conn):
    for child in conn.screen().root.query_tree().children:
        name = child.get_wm_name()
        if name and name.startswith("game"):
            return child
    return None


def time_one_start(s, conn, command=None):
    """Seconds from the start of the process to its first frame (the cream
    clear that ends the window and renderer set-up) and to its first game
    frame; for another command, to its first frame only."""
    started = time.monotonic()
    s.program = subprocess.Popen(command or s.command, cwd=s.elsewhere, env=s.env,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    window, first_frame = None, None
    while time.monotonic() - started < 30:
        if window is None:
            window = game_window(conn)
            continue
        try:
            cream = near(pixel(window, 10, 10), BACKGROUND, 10)
            if cream and first_frame is None:
                first_frame = time.monotonic() - started
                if command:
                    return first_frame, first_frame
            if cream and near(pixel(window, 46, 176), INK, 10):
                return first_frame, time.monotonic() - started
        except Exception:  # not mapped yet
            pass
    raise RuntimeError("no game frame within 30 s")


def stop(s):
    s.program.terminate()
    s.program.wait()


def main():
    floor_command = [os.path.abspath(sys.argv[2])]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 7
    s = session("bench_start_up")
    conn = xdisplay.Display(s.display)
    times = {"cold": [], "warm": [], "floor": []}
    try:
        for _ in range(runs):
            shutil.rmtree(s.path("tmp"), ignore_errors=True)
            for kind in ("cold", "warm", "floor"):
                times[kind].append(time_one_start(s, conn, floor_command if kind == "floor"
                                                  else None))
                stop(s)
    finally:
        conn.close()
        s.close()

    def ms(values):
        return "median %4.0f ms, %4.0f to %4.0f  (%s)" % (
            median(values) * 1000, min(values) * 1000, max(values) * 1000,
            ", ".join("%.0f" % (v * 1000) for v in values))

    floor = [t[0] for t in times["floor"]]
    game = {kind: [t[1] for t in times[kind]] for kind in ("cold", "warm")}
    own = {kind: [t[1] - t[0] for t in times[kind]] for kind in ("cold", "warm")}
    # Each run against the floor of its own turn, so slow spells of a shared
    # machine touch both sides.
    above = {kind: [g - f for g, f in zip(game[kind], floor)] for kind in ("cold", "warm")}
    print("floor (bare window)  first frame:                 %s" % ms(floor))
    for kind, label in (("cold", "cold (no tmp/)"), ("warm", "warm (caches) ")):
        print("%s  first game frame:            %s" % (label, ms(game[kind])))
        print("%s  above the floor:             %s" % (label, ms(above[kind])))
        print("%s  first frame to game frame:   %s" % (label, ms(own[kind])))
    print("warm / cold: %.2f to the game frame, %.2f from the first frame"
          % (median(game["warm"]) / median(game["cold"]),
             median(own["warm"]) / median(own["cold"])))
    print("warm start above the floor: median %.0f ms (goal: within 25 ms)"
          % (median(above["warm"]) * 1000))


main()

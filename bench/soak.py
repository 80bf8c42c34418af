"""Soak: the program runs for a long while (10 minutes unless told) under
Xvfb while a driver starts and stops searches, switches to full screen and
back, and touches the shader sources and the image every few seconds.
Passes when the program never ends by itself, its resident memory at the
end is within 5 % of the value after the first minute, and the save written
at the end holds exactly the givens on the board.

usage: soak.py <run folder> [minutes, default 10]
"""

import os
import sys
import time

from driving import LONG_SEARCH, session
from harness import (SCREEN_HEIGHT, SCREEN_WIDTH, SOLVE, autosave_bytes, cell_centre, check,
                     palette_centre)

CYCLE_SECONDS = 4
ALLOWED_GROWTH = 0.05


def touch(s, *parts):
    """A new modification time makes the program reload the file."""
    touch.stamp += 1
    os.utime(s.path(*parts), (touch.stamp, touch.stamp))


touch.stamp = time.time()


def alive(s):
    check(s.program.poll() is None, "the program ended: status %s, %s"
          % (s.program.returncode, s.stderr()[-2000:]))


def main():
    minutes = float(sys.argv[2]) if len(sys.argv) > 2 else 10
    s = session("soak")
    try:
        s.start()
        started = time.monotonic()
        # In full screen the layout is centred on the 1280 x 1024 screen.
        shift = ((SCREEN_WIDTH - 540) // 2, (SCREEN_HEIGHT - 960) // 2)
        full_solve = (SOLVE[0] + shift[0], SOLVE[1] + shift[1])
        rss_after_minute, cycles, low_fps, rss_by_minute = None, 0, None, {}
        while time.monotonic() - started < minutes * 60:
            cycle_start = time.monotonic()
            s.click(*SOLVE)
            time.sleep(0.7)
            s.click(*SOLVE)
            touch(s, "shaders_desktop", "fragment.c")
            touch(s, "shaders_desktop", "vertex.c")
            touch(s, "images", "rounded_rect.png")
            if cycles % 2 == 0:
                s.key("alt+Return")
                time.sleep(0.7)
                s.click(*full_solve)
                time.sleep(0.7)
                s.click(*full_solve)
                s.key("alt+Return")
            alive(s)
            fps = s.fps()
            if fps is not None:
                low_fps = fps if low_fps is None else min(low_fps, fps)
            minute = int((time.monotonic() - started) // 60)
            rss_by_minute[minute] = max(rss_by_minute.get(minute, 0), s.rss_kib())
            if rss_after_minute is None and minute >= 1:
                rss_after_minute = s.rss_kib()
            cycles += 1
            time.sleep(max(0.0, CYCLE_SECONDS - (time.monotonic() - cycle_start)))

        # One more given, then the end: the save must hold the board as it is now.
        s.click(*palette_centre(4))
        s.click(*cell_centre(1))
        rss_end = s.rss_kib()
        s.key("q")
        status = s.wait_exit()
        expected = autosave_bytes(LONG_SEARCH[0] + "4" + LONG_SEARCH[2:])
        saved = s.read("autosave") == expected
    finally:
        s.close()

    growth = (rss_end - rss_after_minute) / rss_after_minute
    print("ran %.1f minutes, %d cycles (each: a search started and stopped, the shaders and"
          " the image touched; every other one also in full screen)" % (minutes, cycles))
    print("resident memory: %d KiB after the first minute, %d KiB at the end (%+.1f %%)"
          % (rss_after_minute, rss_end, growth * 100))
    print("highest resident memory in each minute (KiB): %s"
          % " ".join(str(rss_by_minute[m]) for m in sorted(rss_by_minute)))
    print("lowest title frame count seen: %s fps" % low_fps)
    print("exit status %d, save at the end %s" % (status, "correct" if saved else "WRONG"))
    ok = status == 0 and saved and abs(growth) <= ALLOWED_GROWTH
    print("soak passed" if ok else "soak FAILED")
    sys.exit(0 if ok else 1)


main()

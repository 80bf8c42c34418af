"""Frames per second of the running program, read from its title ("game
(fps: N)", once a second), first idle and then while a search of over a
billion steps runs on the other core.

usage: frame_rate.py <run folder>
"""

import time

from driving import median, session
from harness import SOLVE

SECONDS = 5


def title_counts(s, seconds):
    """The frame counts of the next `seconds` title updates."""
    counts, last = [], s.title()
    while len(counts) < seconds:
        time.sleep(0.05)
        title = s.title()
        if title != last:
            last = title
            counts.append(s.fps())
    return counts


def main():
    s = session("bench_frame_rate")
    try:
        s.start()
        title_counts(s, 1)  # a whole second after start-up
        idle = title_counts(s, SECONDS)
        s.click(*SOLVE)
        title_counts(s, 1)
        searching = title_counts(s, SECONDS)
        still_running = s.program.poll() is None
        s.click(*SOLVE)
        s.key("q")
        s.wait_exit()
    finally:
        s.close()
    print("idle:      median %d fps, lowest %d  (%s)" % (median(idle), min(idle), idle))
    print("searching: median %d fps, lowest %d  (%s)" % (median(searching), min(searching),
                                                        searching))
    if not still_running:
        print("the program ended during the measurement")


main()

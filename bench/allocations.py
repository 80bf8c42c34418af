"""Heap allocations per frame of the running program, counted by the
preloaded bench/liballoc_counter.so while the program idles, searches, is
watched at 1,000 changes a second with each change explained and the
candidates shown, goes full screen and back.

usage: allocations.py <run folder> <liballoc_counter.so>
"""

import os
import sys
import time

from driving import session
from harness import SOLVE

WARM_UP_FRAMES = 100


def read_report(path):
    frames, modules = [], []
    with open(path) as f:
        for line in f:
            fields = line.split()
            if fields[0] == "frame":
                frames.append((float(fields[2]), int(fields[3]), int(fields[4])))
            else:
                modules.append((" ".join(fields[2:]), int(fields[1])))
    return frames, modules


def main():
    s = session("bench_allocations")
    try:
        report = os.path.join(s.work, "allocations.txt")
        s.env.update(LD_PRELOAD=os.path.abspath(sys.argv[2]), TESSARIN_ALLOC_REPORT=report,
                     TESSARIN_ALLOC_WARM_UP=str(WARM_UP_FRAMES))
        s.start()
        phases = []

        def phase(name, seconds):
            start = time.monotonic()
            time.sleep(seconds)
            phases.append((name, start, time.monotonic()))

        # The long search's two 4s selected pulse: a frame every frame, where
        # a still board would draw none.
        s.key("4")
        phase("idle, 4s pulsing", 5)
        s.click(*SOLVE)
        phase("searching", 5)
        s.click(*SOLVE)
        s.key(*["minus"] * 6)
        s.key("m")
        s.click(*SOLVE)
        phase("watched, M", 5)
        s.click(*SOLVE)
        s.key("m", *["plus"] * 6)
        s.key("4")
        s.key("alt+Return")
        phase("full screen", 3)
        s.key("alt+Return")
        phase("windowed again", 3)
        s.key("q")
        s.wait_exit()
        frames, modules = read_report(report)
    finally:
        s.close()

    print("start-up (before the first game frame): %d allocations"
          % sum(f[1] + f[2] for f in frames[:3]))
    print("%-16s %7s %14s %14s %14s" % ("phase", "frames", "main/frame", "main max",
                                        "other threads"))
    for name, start, end in phases:
        inside = [f for f in frames[3:] if start <= f[0] <= end]
        main_thread = [f[1] for f in inside]
        print("%-16s %7d %14.2f %14d %14d" % (name, len(inside),
                                              sum(main_thread) / max(1, len(inside)),
                                              max(main_thread or [0]), sum(f[2] for f in inside)))
    counted = len(frames) - WARM_UP_FRAMES - 1
    print("allocations on the main thread in the %d frames after frame %d, by the library the"
          " program called > the module that allocated:" % (counted, WARM_UP_FRAMES))
    for name, count in sorted(modules, key=lambda m: -m[1]):
        print("  %-48s %8d  %8.2f a frame" % (name, count, count / counted))


main()

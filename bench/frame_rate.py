"""Frames per second of the running program, read from its title ("game
(fps: N)", once a second): a still board drawn every frame (its two 4s
selected, so they pulse: a still board with nothing selected draws nothing,
see idle.py) before and after, while the long search (one without end) runs on the solver thread, which lowers its own priority, and,
where this user may raise a thread's priority again, while it runs at
normal priority. Then the search speed while the program draws: the
anti-brute-force puzzle (69,175,317 steps) solved several times in the
program, from the time its thread ran against the time it waited for a core;
and the frame rate while that search is watched at three paces, paused, and
replayed, and while the other ways of searching are watched.

usage: frame_rate.py <run folder>
"""

import os
import subprocess
import time

from driving import median, session
from harness import SOLVE, autosave_bytes

SECONDS = 5
SOLVES = 5
ANTI_BRUTE_FORCE = ("..............3.85..1.2.......5.7.....4...1...9.......5......73..2.1."
                    ".......4...9")
ANTI_BRUTE_FORCE_STEPS = 69175317


def title_counts(s, seconds):
    """The frame counts of the next `seconds` title updates. A title that
    stays as it was for a second and a half has repeated its count (0 on a
    still screen, as while a search sleeps paused)."""
    counts, last, changed = [], s.title(), time.monotonic()
    while len(counts) < seconds:
        time.sleep(0.05)
        title = s.title()
        if title != last or time.monotonic() - changed > 1.5:
            last, changed = title, time.monotonic()
            counts.append(s.fps())
    return counts


def threads(s):
    return set(os.listdir("/proc/%d/task" % s.program.pid))


def run_times(s, thread):
    """Seconds one thread of the program has run on a core and has waited
    for one, so far. A search never sleeps, so the two add up to its time."""
    with open("/proc/%d/task/%s/schedstat" % (s.program.pid, thread)) as f:
        fields = f.read().split()
    return int(fields[0]) / 1e9, int(fields[1]) / 1e9


def core_share(before, after):
    ran, waited = after[0] - before[0], after[1] - before[1]
    return ran / (ran + waited)


def start_search(s, settle=True):
    """Clicks Solve; returns the new solver thread's id once it exists."""
    before = threads(s)
    if settle:
        s.click(*SOLVE)
    else:
        # The harness's click waits a while afterwards; a short search could end meanwhile.
        subprocess.run(["xdotool", "mousemove", "--window", s.window, str(SOLVE[0]),
                        str(SOLVE[1]), "click", "1"], env=s.env, check=True)
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline:
        new = threads(s) - before
        if new:
            return new.pop()
    raise RuntimeError("no solver thread after Solve")


def searching_counts(s, thread):
    """Frame counts over SECONDS while the search runs, and the share of a
    core the solver thread had meanwhile."""
    title_counts(s, 1)
    before = run_times(s, thread)
    counts = title_counts(s, SECONDS)
    return counts, core_share(before, run_times(s, thread))


def timed_solve(s):
    """Seconds one whole search ran and waited for a core."""
    thread = start_search(s, settle=False)
    times = (0.0, 0.0)
    while True:
        try:
            times = run_times(s, thread)
        except (FileNotFoundError, ProcessLookupError):
            return times
        time.sleep(0.0005)


def watching_counts(s):
    """Frame counts over SECONDS while the search is watched at three paces
    (at 1,000 a second also with the candidates shown), paused, and while its
    replay plays, each started from the keyboard."""
    watched = []
    # From flat out, "-" once is 1,000,000 changes a second, 5 more 1,000, 6 more 10.
    for presses, pace in ((1, "1,000,000"), (5, "1,000"), (6, "10")):
        s.key(*["minus"] * presses)
        # Space starts the search; pressed again it would pause it.
        if pace == "1,000,000":
            s.key("space")
        title_counts(s, 1)
        watched.append(("watched at %s a second" % pace, title_counts(s, SECONDS)))
        if pace == "1,000":
            # Every frame a new change told and new candidates pencilled in.
            s.key("m")
            title_counts(s, 1)
            watched.append(("the same with the candidates (M)", title_counts(s, SECONDS)))
            s.key("m")
    s.key("space")
    title_counts(s, 1)
    watched.append(("paused (nothing drawn)", title_counts(s, SECONDS)))
    s.key("Escape", "Home", "space")
    title_counts(s, 1)
    watched.append(("its replay playing", title_counts(s, SECONDS)))
    s.key("End")
    return watched


def strategy_counts(s):
    """Frame counts while the other ways of searching run watched: S chooses
    each in turn; fewest candidates (84,425 changes on this puzzle) at 1,000
    and 10 changes a second, singles first and exact cover (64 changes) at 10."""
    watched = []
    for way, paces in (("fewest candidates", ((6, "1,000"), (6, "10"))),
                       ("singles first", ((12, "10"),)), ("exact cover", ((12, "10"),))):
        s.key("s")
        for presses, pace in paces:
            s.key(*["minus"] * presses)
            s.key("space")
            title_counts(s, 1)
            watched.append(("%s at %s a second" % (way, pace), title_counts(s, SECONDS)))
            s.key("Escape")
        s.key(*["plus"] * 12)
    s.key("s")
    return watched


def main():
    s = session("bench_frame_rate")
    try:
        s.start()
        s.key("4")
        title_counts(s, 1)  # a whole second after start-up
        idle = title_counts(s, SECONDS)
        thread = start_search(s)
        searching, share = searching_counts(s, thread)
        normal, normal_share = None, None
        try:
            os.setpriority(os.PRIO_PROCESS, int(thread), 0)
            normal, normal_share = searching_counts(s, thread)
        except PermissionError:
            pass
        still_running = s.program.poll() is None
        s.click(*SOLVE)
        # Solve dropped the selection.
        s.key("4")
        title_counts(s, 1)
        idle += title_counts(s, SECONDS)
        s.key("q")
        s.wait_exit()

        s.write(autosave_bytes(ANTI_BRUTE_FORCE), "autosave")
        s.start()
        title_counts(s, 1)
        solves = [timed_solve(s) for _ in range(SOLVES)]
        watched = watching_counts(s)
        watched += strategy_counts(s)
        s.key("q")
        s.wait_exit()
    finally:
        s.close()

    def fps(label, counts):
        print("%s median %d fps, lowest %d, highest %d  (%s)"
              % (label, median(counts), min(counts), max(counts), counts))

    fps("idle, 4s pulsing (before, after):", idle)
    fps("searching (solver nice 19):  ", searching)
    print("  searching / idle: %.2f (goal: at least 0.9); the solver thread had %.0f %% of a core"
          % (median(searching) / median(idle), share * 100))
    if normal:
        fps("searching at normal priority:", normal)
        print("  (solver thread reniced to 0 from outside) searching / idle: %.2f;"
              " the solver thread had %.0f %% of a core"
              % (median(normal) / median(idle), normal_share * 100))
    else:
        print("searching at normal priority: not measured (raising a thread's priority"
              " needs privilege)")
    if not still_running:
        print("the program ended during the measurement")

    for label, counts in watched:
        fps("%-28s" % (label + ":"), counts)
        # A paused search sleeps, and its board is not drawn again: no goal.
        if median(counts):
            print("  / idle: %.2f (goal: at least 0.9)" % (median(counts) / median(idle)))

    wall = [ANTI_BRUTE_FORCE_STEPS / (ran + waited) / 1e6 for ran, waited in solves]
    own = [ANTI_BRUTE_FORCE_STEPS / ran / 1e6 for ran, _ in solves]
    share = [ran / (ran + waited) for ran, waited in solves]
    print("anti-brute-force solved %d times in the drawing program (%s s each):"
          % (SOLVES, ", ".join("%.2f" % (ran + waited) for ran, waited in solves)))
    print("  while drawing:          median %.1f M steps/s, %.1f to %.1f"
          % (median(wall), min(wall), max(wall)))
    print("  per CPU second of the solver thread (its speed alone):"
          " median %.1f M steps/s, %.1f to %.1f" % (median(own), min(own), max(own)))
    print("  while drawing / alone: %.2f (the solver thread's share of a core)"
          % median(share))


main()

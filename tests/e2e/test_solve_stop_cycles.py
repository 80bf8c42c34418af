"""Searches started and stopped over and over, at a user's pace and faster,
watched, paused and stepped, and a quit in the middle of one. The ThreadSanitizer build runs this test on
its own; in every build the program must end cleanly and save only the givens.
"""

import time

from harness import (HARD, SOLVE, SOLVER_INK, autosave_bytes, cell_centre, check, crop,
                     digit_pixels, poll_until, run, wait_until)

# Sanitizer builds run several times slower; the waits allow for that.
SLOW = 30


def label(s):
    check(s.program.poll() is None, "the program ended: %s" % s.stderr()[-3000:])
    return crop(s.screenshot(keep=False), SOLVE, 45, 20)


def status_line(s):
    return crop(s.screenshot(keep=False), (270, 870), 200, 12)


def solver_cells(shot):
    return [i for i in range(81) if digit_pixels(shot, cell_centre(i), SOLVER_INK) > 20]


def solve_stop_cycles(s):
    s.write(autosave_bytes(HARD), "autosave")
    s.start()
    idle = label(s)

    for cycle in range(4):
        s.click(*SOLVE)
        wait_until(lambda: label(s) != idle, SLOW, "Stop on the button (cycle %d)" % cycle)
        time.sleep(0.2 * cycle)
        s.click(*SOLVE)
        wait_until(lambda: label(s) == idle, SLOW, "Solve after Stop (cycle %d)" % cycle)

    # Solve and Stop within a millisecond or so, again and again: a stop may
    # reach the search before its first step, or come while the stopped search
    # is still unwinding and do nothing, so a burst may end with a search
    # running; one more click stops that. A pace key after the burst shows the
    # status line once every click before it has been handled; a search still
    # on the button seconds after that runs on, as a stopped one unwinds at once.
    no_status = status_line(s)
    for burst in range(3):
        s.clicks(*SOLVE, count=2 * (burst + 1))
        s.key("minus")
        wait_until(lambda: status_line(s) != no_status, SLOW, "the burst %d handled" % burst)
        if not poll_until(lambda: label(s) == idle, 3):
            s.click(*SOLVE)
        wait_until(lambda: label(s) == idle, SLOW, "the burst %d to end" % burst)
        s.key("plus")
    # Watched: started by Space, paused, stepped on and back, paced and
    # resumed, then stopped by Stop while paused, and by Escape.
    s.key("minus", "space")
    wait_until(lambda: label(s) != idle, SLOW, "Stop on the button after Space")
    s.key("space", "period", "period", "comma", "minus", "space", "plus", "space")
    s.click(*SOLVE)
    wait_until(lambda: label(s) == idle, SLOW, "Solve after Stop while paused")
    s.key("space")
    wait_until(lambda: label(s) != idle, SLOW, "a search again")
    s.key("Escape")
    wait_until(lambda: label(s) == idle, SLOW, "Solve after Escape")
    s.key("plus")
    shot = s.screenshot(name="after_cycles")
    check(solver_cells(shot) == [], "every stopped search put the board back")

    # Quit while a search runs, paused: the program neither stops nor waits for it.
    s.click(*SOLVE)
    wait_until(lambda: label(s) != idle, SLOW, "Stop on the button before quitting")
    # Paused, too: Q ends the program.
    s.key("space", "q")
    status = s.wait_exit(SLOW)
    check(status == 0, "exit status %d with a search running: %s" % (status, s.stderr()[-3000:]))
    check(s.read("autosave") == autosave_bytes(HARD), "only the givens saved")
    reports = s.sanitizer_reports()
    check(not reports, "sanitizer reports: %s" % reports)


run([solve_stop_cycles])

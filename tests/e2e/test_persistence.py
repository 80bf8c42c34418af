"""Givens and font caches survive restarts; Shift+Q, the close request, the
signals of a session's end and a lost display save. The run folder's name
holds Polish and CJK letters."""

import os
import signal

from harness import SOLVE, SOLVER_INK, autosave_bytes, cell_centre, check, digit_pixels, \
    palette_centre, run, shows_digit, wait_until

PUZZLE = "5" + "." * 39 + "3" + "." * 39 + "9"
CACHES = {"tmp/font.loading_font.32", "tmp/font.title_font.64", "tmp/font.digit_font.32",
          "tmp/font.solve_font.36"}


def persistence(s):
    s.rename_run_folder("Łódź 数独")
    s.write(autosave_bytes(PUZZLE), "autosave")
    s.start()
    shot = s.screenshot(name="restored")
    check(all(shows_digit(shot, i) for i in (0, 40, 80)), "saved givens shown")
    check(sum(shows_digit(shot, i) for i in range(81)) == 3, "only the saved givens")
    # A solved board: the solver's digits are never saved.
    s.click(*SOLVE)
    wait_until(lambda: digit_pixels(s.screenshot(keep=False), cell_centre(1), SOLVER_INK) > 20,
               10, "the solved board")
    s.key("shift+q")
    check(s.wait_exit() == 0, "exit status after Shift+Q")
    check(s.read("autosave") == autosave_bytes(PUZZLE), "givens saved again")
    for cache in CACHES:
        check(os.path.getsize(s.path(cache)) == 269748, "%s size" % cache)

    # The caches alone are enough: start without the fonts folder.
    os.rename(s.path("fonts"), s.path("fonts-away"))
    s.start()
    shot = s.screenshot(name="from_cache")
    check(all(shows_digit(shot, i) for i in (0, 40, 80)), "drawn from the font cache")
    s.request_close()
    check(s.wait_exit() == 0, "exit status after the close request")
    check(s.read("autosave") == autosave_bytes(PUZZLE), "givens saved by the close request")
    check(os.listdir(s.elsewhere) == [], "files left in the starting folder")


def end_of_session(s):
    """A logout, a closed terminal and Ctrl+C end the run as Q does, straight
    after a click; the end of the X server still leaves the givens saved."""
    ends = [(signal.SIGTERM, 0), (signal.SIGHUP, 0), (signal.SIGINT, 0), ("display lost", 1)]
    for end, _ in ends[:-1]:
        # As from a terminal: a signal this test's caller ignores would stay ignored.
        signal.signal(end, signal.SIG_DFL)
    for index, (end, status) in enumerate(ends):
        s.start()
        s.click(*palette_centre(index + 1))
        s.click(*cell_centre(index))
        wait_until(lambda: shows_digit(s.screenshot(keep=False), index), 10, "the given")
        if end == "display lost":
            s.xvfb.kill()
        else:
            s.program.send_signal(end)
        check(s.wait_exit() == status, "exit status after %s" % end)
        # Each run starts from the last one's save and adds a given.
        expected = "1234"[:index + 1] + "." * (80 - index)
        check(s.read("autosave") == autosave_bytes(expected), "saved after %s" % end)
    check("the board is saved" in s.stderr(), "message %r" % s.stderr())


run([persistence, end_of_session])

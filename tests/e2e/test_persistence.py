"""Givens and font caches survive restarts; Shift+Q and the close request save.
The run folder's name holds Polish and CJK letters."""

import os

from harness import SOLVE, SOLVER_INK, autosave_bytes, cell_centre, check, digit_pixels, run, \
    shows_digit, wait_until

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


run([persistence])

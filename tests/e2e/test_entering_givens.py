"""Entering givens with the palette, the cells, the eraser and Clear."""

from harness import (CLEAR, ERASER, autosave_bytes, cell_centre, check, outlined,
                     palette_centre, run, shows_digit)


def entering_givens(s):
    s.start()
    s.click(*palette_centre(5))
    shot = s.screenshot(name="digit_selected")
    check(outlined(shot, palette_centre(5)), "palette 5 outlined")
    check(not outlined(shot, palette_centre(4)), "palette 4 not outlined")

    s.click(*cell_centre(0))
    s.click(*cell_centre(1))
    shot = s.screenshot(name="two_fives")
    check(shows_digit(shot, 0) and shows_digit(shot, 1), "5 in cells 0 and 1")
    check(not shows_digit(shot, 2), "cell 2 empty")

    # The Clear box reaches 5 units beyond its panel: 3 units left of it clears.
    s.click(CLEAR[0] - 55 - 3, CLEAR[1])
    shot = s.screenshot(name="cleared")
    check(not shows_digit(shot, 0) and not shows_digit(shot, 1), "Clear empties the board")
    check(not outlined(shot, palette_centre(5)), "Clear drops the selected digit")

    s.click(*palette_centre(5))
    s.click(*cell_centre(0))
    s.click(*cell_centre(1))
    s.click(*cell_centre(1))  # the same digit again takes it out
    s.click(*palette_centre(7))
    s.click(*cell_centre(0))  # 7 replaces 5
    s.click(*cell_centre(2), button=3)  # the right button acts as the left
    s.click(*cell_centre(3), button=2)  # the middle button does nothing
    s.click(*palette_centre(7))  # deselects 7
    shot = s.screenshot(name="entered")
    check(not outlined(shot, palette_centre(7)), "palette 7 deselected")
    check(shows_digit(shot, 0) and shows_digit(shot, 2), "7 in cells 0 and 2")
    check(not shows_digit(shot, 1) and not shows_digit(shot, 3), "cells 1 and 3 empty")

    s.click(*cell_centre(2))  # no digit selected: erases
    s.click(*ERASER)
    shot = s.screenshot(name="eraser_on")
    check(outlined(shot, ERASER), "eraser outlined")
    check(not shows_digit(shot, 2), "cell 2 erased")
    s.click(*palette_centre(3))
    shot = s.screenshot(name="digit_over_eraser")
    check(not outlined(shot, ERASER), "a selected digit hides the eraser outline")
    check(outlined(shot, palette_centre(3)), "palette 3 outlined")
    s.click(*palette_centre(3))
    check(outlined(s.screenshot(), ERASER), "deselecting shows the eraser outline again")
    s.click(*ERASER)
    check(not outlined(s.screenshot(), ERASER), "second eraser click hides the outline")

    # The edge shared by cells 9 and 10 belongs to cell 9, the lower index.
    s.click(*palette_centre(3))
    s.click(95, 250)
    shot = s.screenshot(name="shared_edge")
    check(shows_digit(shot, 9) and not shows_digit(shot, 10), "edge click went to cell 9")

    s.key("q")
    check(s.wait_exit() == 0, "exit status after Q")
    expected = ["."] * 81
    expected[0], expected[9] = "7", "3"
    check(s.read("autosave") == autosave_bytes("".join(expected)),
          "autosave %s" % list(s.read("autosave")))


run([entering_givens])

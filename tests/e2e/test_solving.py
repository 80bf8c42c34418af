"""Solving: the visible search, Stop, a solved board and an unsolvable one."""

from harness import (CLEAR, HARD, INK, SOLVE, SOLVER_INK, autosave_bytes, cell_centre, check,
                     crop, digit_pixels, outlined, palette_centre, run, shows_digit,
                     wait_until, ERASER)

def solver_cells(shot):
    return [i for i in range(81) if digit_pixels(shot, cell_centre(i), SOLVER_INK) > 20]


def ink_cells(shot):
    return [i for i in range(81) if shows_digit(shot, i, INK)]


def label(shot):
    return crop(shot, SOLVE, 45, 20)


def solving(s):
    s.write(autosave_bytes(HARD), "autosave")
    s.start()
    givens = [i for i, c in enumerate(HARD) if c != "."]
    shot = s.screenshot(name="hard_loaded")
    check(ink_cells(shot) == givens, "givens shown in ink: %s" % ink_cells(shot))
    solve_label = label(shot)

    s.click(*palette_centre(5))
    s.click(*SOLVE)
    shot = s.screenshot(name="searching")
    check(label(shot) != solve_label, "the button reads Stop while searching")
    check(not outlined(shot, palette_centre(5)), "Solve drops the selected digit")
    check(len(solver_cells(shot)) > 0, "the search shows its digits")
    check(ink_cells(shot) == givens, "givens stay in ink while searching")

    # Nothing but Stop reacts while the search runs.
    s.click(*CLEAR)
    s.click(*palette_centre(2))
    s.click(*cell_centre(0))
    s.click(*ERASER)
    shot = s.screenshot(name="ignored_clicks")
    check(ink_cells(shot) == givens, "Clear and cell clicks ignored")
    check(not outlined(shot, palette_centre(2)) and not outlined(shot, ERASER),
          "palette and eraser ignored")
    check(label(shot) != solve_label, "still searching")

    s.click(*SOLVE)
    shot = wait_until(lambda: (lambda sh: sh if label(sh) == solve_label else None)(
        s.screenshot(keep=False)), 10, "the label Solve after Stop")
    check(solver_cells(shot) == [], "Stop puts the board back to its givens")
    check(ink_cells(shot) == givens, "givens kept after Stop")

    # A board with a few givens solves at once: every other cell in the solver colour.
    s.click(*CLEAR)
    s.click(*palette_centre(5))
    s.click(*cell_centre(40))
    s.click(*ERASER)
    s.click(*SOLVE)
    shot = wait_until(lambda: (lambda sh: sh if len(solver_cells(sh)) == 80 else None)(
        s.screenshot(keep=False)), 10, "a solved board")
    shot = s.screenshot(name="solved")
    check(ink_cells(shot) == [40], "the given stays in ink")
    check(not outlined(shot, ERASER), "Solve drops the eraser outline")
    check(label(shot) == solve_label, "the label reads Solve after the search")

    # Row 0 holds 1-8 and the 9 sits below cell 8, which has no candidate left.
    s.click(*CLEAR)
    unsolvable = ["."] * 81
    for i, digit in enumerate("12345678"):
        unsolvable[i] = digit
        s.click(*palette_centre(int(digit)))
        s.click(*cell_centre(i))
    unsolvable[17] = "9"
    s.click(*palette_centre(9))
    s.click(*cell_centre(17))
    s.click(*palette_centre(9))
    s.click(*SOLVE)
    shot = wait_until(lambda: (lambda sh: sh if label(sh) == solve_label else None)(
        s.screenshot(keep=False)), 10, "the failed search to end")
    shot = s.screenshot(name="unsolvable")
    check(solver_cells(shot) == [], "a failed search leaves no solver digits")
    check(ink_cells(shot) == [0, 1, 2, 3, 4, 5, 6, 7, 17], "givens after failure")

    s.key("q")
    check(s.wait_exit() == 0, "exit status")
    check(s.read("autosave") == autosave_bytes("".join(unsolvable)), "only givens saved")


run([solving])

"""Enter alone does nothing; Alt+Enter goes full screen and back. A puzzle
typed in, Clear undone and redone, the card of the keys. Ctrl+V pastes a
puzzle and Ctrl+C copies the board; letters and digits go by the layout."""

import os
import shutil
import subprocess

from harness import (BACKGROUND, CLEAR, HARD, INK, SCREEN_HEIGHT, SCREEN_WIDTH, SOLVE, SOLVER_INK,
                     autosave_bytes, cell_centre, check, crop, fit_in, near, palette_centre, run,
                     shows_digit, digit_pixels, wait_until, outlined)

GRID = "..3.2.6..9..3.5..1..18.64....81.29..7.......8..67.82....26.95..8..2.3..9..5.1.3.."
SOLUTION = "483921657967345821251876493548132976729564138136798245372689514814253769695417382"


def keyboard(s):
    s.pictures = os.path.join(s.work, "pictures")
    s.env["XDG_PICTURES_DIR"] = s.pictures
    s.write(autosave_bytes("4" + "." * 80), "autosave")
    s.start()
    windowed = s.window_geometry()
    check(windowed[2:] == (540, 960), "windowed size %s" % (windowed,))

    s.key("Return")
    check(s.window_geometry() == windowed, "Enter alone does nothing")
    s.key("ctrl+alt+Return")
    check(s.window_geometry() == windowed, "Ctrl+Alt+Enter does nothing")

    s.key("alt+Return")
    wait_until(lambda: s.window_geometry()[2:] == (SCREEN_WIDTH, SCREEN_HEIGHT), 10,
               "full screen")
    s.settle(0.5)
    shot = s.screenshot(name="full_screen")
    # The whole screen grows to the screen's height, centred.
    fit = fit_in(SCREEN_WIDTH, SCREEN_HEIGHT)
    left, top = fit(45, 175)
    check(near(shot.pixel(left + 15, top), INK, 2) and near(shot.pixel(left, top + 15), INK, 2),
          "grid corner at (%d, %d)" % (left, top))
    check(digit_pixels(shot, fit(*cell_centre(0)), INK) > 20, "the given follows the grid")
    # A click lands on what is drawn: the selection's left bar, 27 to 30 units left.
    x, y = palette_centre(2)
    s.click(*fit(x, y))
    shot = s.screenshot(name="full_screen_click")
    bar = [shot.pixel(p, fit(x, y)[1]) for p in range(fit(x - 31, y)[0], fit(x - 26, y)[0])]
    check(sum(near(p, INK, 10) for p in bar) >= 3, "palette 2 selected: %s" % bar)
    s.click(*fit(x, y))

    s.key("alt+Return")
    wait_until(lambda: s.window_geometry() == windowed, 10, "the window back in place")
    s.settle(0.5)
    shot = s.screenshot(name="windowed_again")
    check(shows_digit(shot, 0), "the window layout is back")
    puzzles_and_what_is_wrong(s)
    ways_of_searching(s)
    s.key("q")
    check(s.wait_exit() == 0, "exit status")


CONFLICT = (240, 160, 140)
UNSOLVABLE = "12345678." + "........9" + "." * 63


def status_line(shot):
    return crop(shot, (270, 870), 200, 12)


def blank_line(shot):
    return shot.count(170, 858, 370, 882, lambda p: not near(p, BACKGROUND)) == 0


def marked(shot, index):
    x, y = cell_centre(index)
    return near(shot.pixel(x - 18, y - 18), CONFLICT)


def puzzles_and_what_is_wrong(s):
    """N and Ctrl+Z; givens that break the rules marked with the cursor only;
    what a paste brings said in the title; a watched search's verdict on the
    line under the palette, and nothing new at flat out."""
    before = drawn_givens(s)
    s.key("n")
    made = wait_until(lambda: (lambda g: g if g != before else None)(drawn_givens(s)), 10,
                      "a new puzzle")
    check(17 <= len(made) <= 40, "a made puzzle of %d givens" % len(made))
    s.key("ctrl+z")
    wait_until(lambda: drawn_givens(s) == before, 10, "Ctrl+Z to take the new puzzle back")

    paste(s, "55" + "." * 79)
    wait_until(lambda: "pasted, but two 5s in row 1" in s.title(), 10, "the conflict in the title")
    check(not marked(s.screenshot(name="conflict_unmarked"), 0), "no mark without the cursor")
    s.key("Right")
    shot = s.screenshot(name="conflict_marked")
    check(marked(shot, 0) and marked(shot, 1) and not marked(shot, 2), "the two 5s marked")
    s.key("Escape")
    check(not marked(s.screenshot(), 1), "the marks go with the cursor")

    paste(s, UNSOLVABLE)
    wait_until(lambda: "pasted, but it has no solution" in s.title(), 10, "no solution in the title")
    # The new puzzle's notice has gone by then.
    quiet = wait_until(lambda: (lambda sh: sh if blank_line(sh) else None)(
        s.screenshot(name="unsolvable_pasted")), 10, "nothing on the line")
    s.click(*SOLVE)
    s.settle(0.5)
    check(s.screenshot(name="unsolvable_flat_out").raw == quiet.raw,
          "a flat-out search ends with nothing new drawn")
    s.key("minus")
    paced = wait_until(lambda: (lambda sh: sh if status_line(sh) != status_line(quiet) else None)(
        s.screenshot(keep=False)), 10, "the pace on the line")
    s.key("space")
    wait_until(lambda: (lambda sh: sh if status_line(sh) not in (status_line(paced),
                                                                   status_line(quiet)) else None)(
        s.screenshot(name="no_solution_said")), 10, "the verdict on the line")
    s.click(*CLEAR)
    wait_until(lambda: status_line(s.screenshot(keep=False)) == status_line(paced), 10,
               "an edit to take the verdict away")
    s.key("plus")


def fewest_cell(puzzle):
    """The empty cell with the fewest candidates, the first on ties."""
    def candidates(c):
        r, k = divmod(c, 9)
        box = 27 * (r // 3) + 3 * (k // 3)
        peers = {puzzle[p] for j in range(9)
                 for p in (9 * r + j, 9 * j + k, box + 9 * (j // 3) + j % 3)}
        return sum(1 for d in "123456789" if d not in peers)
    return min((candidates(c), c) for c in range(81) if puzzle[c] == ".")[1]


def ways_of_searching(s):
    """S says the next way on the line, and a paced search of it makes its
    first change where its rule says; C counts the four over the board, a
    number chooses one and closes it, and that way solves the puzzle."""
    paste(s, GRID)
    shows(s, GRID)
    quiet = wait_until(lambda: (lambda sh: sh if blank_line(sh) else None)(
        s.screenshot(keep=False)), 10, "a quiet line")
    s.key("s")
    wait_until(lambda: not blank_line(s.screenshot(keep=False)), 10, "the way said")
    s.key(*["minus"] * 15)
    s.key("space")
    first = wait_until(lambda: (lambda cells: cells or None)(solver_cells(
        s.screenshot(name="fewest_first_change"))), 10, "the first change")
    check(first == [fewest_cell(GRID)], "fewest candidates first changes %s" % first)
    s.key("Escape")
    s.key(*["plus"] * 15)
    s.key("c")
    middle = lambda sh: crop(sh, (270, 480), 200, 40)
    wait_until(lambda: middle(s.screenshot(name="compare_card")) != middle(quiet), 10,
               "the compare card")
    s.key("3")
    wait_until(lambda: middle(s.screenshot(keep=False)) == middle(quiet), 10,
               "the card closed by a row's number")
    s.key("space")
    copies(s, SOLUTION)

    # Its replay a dozen changes in, explained, the candidates pencilled in;
    # at its end, Shift+P animates the whole search: the manual's pictures.
    s.key("Home", "m", *["period"] * 12)
    # After the copy's notice, the line explains the change.
    s.settle(4.5)
    s.screenshot(name="explained")
    s.click(499, 907)
    s.key("shift+p")
    made = wait_until(lambda: [f for f in os.listdir(s.pictures) if f.endswith(".gif")]
                      if os.path.isdir(s.pictures) else None, 30, "the animation")
    shutil.copy(os.path.join(s.pictures, made[0]), os.path.join(s.shots, "search.gif"))
    s.key("m", "End")


def solver_cells(shot):
    return [i for i in range(81) if digit_pixels(shot, cell_centre(i), SOLVER_INK) > 20]


def drawn_givens(s):
    shot = s.screenshot()
    return [i for i in range(81) if shows_digit(shot, i)]


def shows(s, puzzle):
    givens = [i for i, c in enumerate(puzzle) if c != "."]
    wait_until(lambda: drawn_givens(s) == givens, 10, "the givens of " + puzzle)


def paste(s, text):
    s.set_clipboard(text)
    s.key("ctrl+v")


def copies(s, text):
    """Presses Ctrl+C until the clipboard holds `text`: a search may still be ending."""

    def copied():
        s.key("ctrl+c")
        return s.clipboard() == text

    wait_until(copied, 10, text + " on the clipboard")


def saves(s, puzzle):
    def saved():
        return os.path.exists(s.path("autosave")) and s.read("autosave") == autosave_bytes(puzzle)

    wait_until(saved, 10, "the save of " + puzzle)


def typing(s):
    """Rows typed with 0 for an empty cell, on the French layout's digits
    (typed with Shift) and on the keypad; Clear undone by the key labelled Z
    and redone; the card closed by a click that does nothing else."""
    s.key("Right")
    for r in range(0, 81, 9):
        row = GRID[r:r + 9].replace(".", "0")
        s.key(*[("KP_" + c) if r % 2 else c for c in row])
    shows(s, GRID)
    s.click(*CLEAR)
    shows(s, "." * 81)
    saves(s, "." * 81)
    s.key("ctrl+z")
    shows(s, GRID)
    saves(s, GRID)
    s.key("ctrl+y")
    shows(s, "." * 81)

    # Escape hides the cursor; a digit then only picks it in the palette.
    s.key("Escape", "5")
    before = s.screenshot(name="before_card")
    check(outlined(before, palette_centre(5)), "5 picked in the palette")
    s.key("question")
    card = s.screenshot(name="key_card")
    check(near(card.pixel(46, 400), BACKGROUND) and near(card.pixel(31, 400), INK),
          "the card over the board")
    s.click(*cell_centre(40))
    check(s.screenshot(name="card_closed").raw == before.raw, "the click only closed the card")
    # A chord closes it too, and its key does nothing: Ctrl closes, V pastes nothing.
    s.set_clipboard(GRID)
    for chord in ("ctrl+v", "shift+q"):
        s.key("question")
        s.key(chord)
        check(s.screenshot(name="card_closed_by_chord").raw == before.raw
              and s.program.poll() is None, "%s only closed the card" % chord)


def clipboard(s):
    """Nine lines, a non-puzzle and a line pasted; copies of a solved and a
    searching board. On a French layout, where US keyboards have A, it is Q."""
    subprocess.run(["setxkbmap", "-display", s.display, "fr"], check=True)
    s.start()
    s.key("a")
    check(s.program.poll() is None, "the key labelled A quit")
    typing(s)
    paste(s, "\n".join(GRID[r:r + 9] for r in range(0, 81, 9)))
    shows(s, GRID)
    paste(s, "hello")
    wait_until(lambda: "- not a puzzle: 'h' in line 1" in s.title(), 10, "the reason in the title")
    shows(s, GRID)
    s.click(*SOLVE)
    copies(s, SOLUTION)
    paste(s, HARD)
    shows(s, HARD)

    # While a search runs, Ctrl+V does nothing and Ctrl+C copies the givens.
    s.click(*SOLVE)
    paste(s, GRID)
    copies(s, HARD)
    s.key("q")
    check(s.wait_exit() == 0, "the key labelled Q quits")
    check(s.read("autosave") == autosave_bytes(HARD), "the pasted save")


run([keyboard, clipboard])

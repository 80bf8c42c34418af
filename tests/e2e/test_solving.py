"""Solving: the visible search, Stop, a solved board and an unsolvable one;
watching a search at a slow pace, paused, stepped on and back, and the
replay of a finished one."""

import os
import time

from PIL import Image

from harness import (CLEAR, HARD, INK, SOLVE, SOLVER_INK, Screenshot, autosave_bytes, cell_centre, check,
                     crop, digit_pixels, near, outlined, palette_centre, run, shows_digit,
                     wait_until, ERASER)

def solver_cells(shot):
    return [i for i in range(81) if digit_pixels(shot, cell_centre(i), SOLVER_INK) > 20]


def ink_cells(shot):
    return [i for i in range(81) if shows_digit(shot, i, INK)]


def label(shot):
    return crop(shot, SOLVE, 45, 20)


# A hard puzzle: thousands of changes, so a slow pace shows only its start.
ESCARGOT = ("1....7.9..3..2...8..96..5....53..9...1..8...26....4...3......1..4......7..7..."
            "3..")


STRIP_Y = 907
# A peer that holds a digit the change passed over; the candidates' pencil.
PEER_TINT = (168, 204, 244)
PENCIL = (96, 104, 120)


def peers_of(cell):
    """The cell's row, column and box, in that order."""
    r, c = divmod(cell, 9)
    box = [27 * (r // 3) + 3 * (c // 3) + 9 * (k // 3) + k % 3 for k in range(9)]
    return [[9 * r + k for k in range(9)], [9 * k + c for k in range(9)], box]


def candidates(board, cell):
    held = {board[i] for house in peers_of(cell) for i in house}
    return [d for d in "123456789" if d not in held]


def first_change(puzzle):
    """In order: the first empty cell's lowest candidate, and the first peer
    (row, then column, then box) holding each digit below it."""
    cell = puzzle.index(".")
    digit = candidates(puzzle, cell)[0]
    named = []
    for d in "123456789"[:int(digit) - 1]:
        holders = [i for house in peers_of(cell) for i in house if puzzle[i] == d]
        named += holders[:1]
    return cell, digit, sorted(named)


def tinted(shot, cell):
    x, y = cell_centre(cell)
    return near(shot.pixel(x - 19, y - 19), PEER_TINT, 8)


def status_line(shot):
    return crop(shot, (270, 870), 200, 12)


def grid(shot):
    """The digit's pixels in every cell, clear of the outline of the last
    change: which are ink, whatever tint is behind them."""
    def inked(p):
        return near(p, SOLVER_INK, 40) or near(p, INK, 40)
    return [[inked(p) for p in crop(shot, cell_centre(i), 15, 15)] for i in range(81)]


def changed_cells(shot, other):
    """Cells whose digit differs: a tint behind a digit moves only a few of
    its edge pixels."""
    return [i for i, (a, b) in enumerate(zip(grid(shot), grid(other)))
            if sum(x != y for x, y in zip(a, b)) > 25]


def held_still(s, seconds=0.5):
    """A screenshot that is the same some time later, or None."""
    first = s.screenshot(name="paused")
    time.sleep(seconds)
    return first if s.screenshot(keep=False).raw == first.raw else None


def changed_from(s, shot):
    now = s.screenshot(keep=False)
    return now if now.raw != shot.raw else None


def board_line(s):
    s.key("ctrl+c")
    return s.clipboard()


def solved_from(board, puzzle):
    units = ([[9 * r + c for c in range(9)] for r in range(9)] +
             [[9 * r + c for r in range(9)] for c in range(9)] +
             [[27 * (b // 3) + 3 * (b % 3) + 9 * (k // 3) + k % 3 for k in range(9)]
              for b in range(9)])
    return (all(sorted(board[i] for i in unit) == list("123456789") for unit in units)
            and all(p in (".", b) for p, b in zip(puzzle, board)))


def watching(s):
    givens = [i for i, c in enumerate(ESCARGOT) if c != "."]
    s.set_clipboard(ESCARGOT)
    s.key("ctrl+v")
    before = s.screenshot(name="escargot")
    # Flat out, then ten steps a second; Space starts the search.
    s.key(*["minus"] * 12)
    s.key("space")
    started = time.monotonic()
    time.sleep(2)
    shot = s.screenshot(name="paced")
    filled = len(solver_cells(shot))
    elapsed = time.monotonic() - started
    check(2 <= filled <= 10 * elapsed + 2, "%d cells after %.1f s at 10 a second" % (filled, elapsed))
    check(crop(shot, (270, 870), 200, 12) != crop(before, (270, 870), 200, 12),
          "the status line shows")

    # At one change a second every key acts at once: Space with a step right
    # behind it pauses and makes exactly that one change. Waits on what is
    # drawn: under load a key may take a while to be handled.
    s.key(*["minus"] * 3)
    time.sleep(1.2)
    s.key("space", "period")
    stepped = wait_until(lambda: held_still(s, 1.3), 10, "a paused search to hold the screen still")
    s.key("comma")
    paused = wait_until(lambda: changed_from(s, stepped), 10, "a step back")
    changed = changed_cells(paused, stepped)
    check(len(changed) == 1, "the step after Space changes one cell: %s" % changed)
    s.key("period")
    wait_until(lambda: s.screenshot(name="stepped_again").raw == stepped.raw, 10,
               "a step on to bring back the stepped screen")

    asked = time.monotonic()
    s.key("Escape")
    wait_until(lambda: (lambda sh: sh if label(sh) == label(before) else None)(
        s.screenshot(keep=False)), 10, "the label Solve after Escape")
    print("Escape at 1 change a second: the board back on screen within %.0f ms" %
          (1e3 * (time.monotonic() - asked)))
    check(solver_cells(s.screenshot(name="escaped")) == [], "Escape puts back the givens")

    # Space after the search: a new one, flat out.
    s.key(*["plus"] * 15)
    s.key("space")
    solution = wait_until(lambda: (lambda line: line if solved_from(line, ESCARGOT) else None)(
        board_line(s)), 10, "the flat-out search to solve the puzzle")
    check(label(s.screenshot(keep=False)) == label(before), "Solve after the search")
    # Reading the board (Ctrl+C) says "board copied" for a few seconds; then
    # nothing is shown, as ever at flat out.
    done = wait_until(lambda: (lambda sh: sh if crop(sh, (270, 870), 200, 12)
                               == crop(before, (270, 870), 200, 12) else None)(
        s.screenshot(name="watch_solved")), 10, "at flat out nothing under the palette")

    s.key("Home")
    shot = wait_until(lambda: changed_from(s, done), 10, "the replay")
    check(solver_cells(shot) == [] and ink_cells(shot) == givens, "Home shows the givens")

    # The first change, explained: the peers holding the digits it passed
    # over are tinted, no other cell. M pencils the candidates of every empty
    # cell and of no other.
    s.key("period")
    first = wait_until(lambda: changed_from(s, shot), 10, "the first change")
    cell, digit, named = first_change(ESCARGOT)
    check(shows_digit(first, cell, SOLVER_INK), "the first change at r%dc%d" % divmod(cell + 9, 9))
    marked = [i for i in range(81) if tinted(first, i)]
    check(named and marked == named, "peers %s tinted, expected %s" % (marked, named))
    s.key("m")
    pencilled = wait_until(lambda: changed_from(s, first), 10, "the candidates")
    board = ESCARGOT[:cell] + digit + ESCARGOT[cell + 1:]
    expected = [i for i in range(81) if board[i] == "." and candidates(board, i)]
    shown = [i for i in range(81) if digit_pixels(pencilled, cell_centre(i), PENCIL, 22, 20) > 8]
    check(shown == expected, "candidates in %s, not %s" % (shown, expected))

    # P: a pictures folder that is a file is said on the line, and the
    # screen keeps its board; then a PNG at twice the scale whose grid holds
    # the screen's digits, candidates and tints, and the line under it.
    s.key("p")
    wait_until(lambda: changed_from(s, pencilled), 10, "the line to say why no picture")
    check(changed_cells(s.screenshot(keep=False), pencilled) == [], "the board after a failed P")
    os.remove(s.pictures)
    os.mkdir(s.pictures)
    s.key("p")
    made = wait_until(lambda: os.listdir(s.pictures), 10, "the picture")
    check(len(made) == 1 and made[0].startswith("tessarin-") and made[0].endswith(".png"),
          "the picture's name: %s" % made)
    picture = Screenshot(os.path.join(s.pictures, made[0]))
    check(picture.width == 1080 and picture.height > 2 * 470, "picture %dx%d" % (
        picture.width, picture.height))
    # The grid's top 10 units below the picture's top: 165 on the screen.
    at_twice = lambda i: (2 * cell_centre(i)[0], 2 * (cell_centre(i)[1] - 165))
    for colour in (INK, SOLVER_INK, PENCIL):
        on_screen = [i for i in range(81) if digit_pixels(pencilled, cell_centre(i), colour, 22, 20) > 8]
        pictured = [i for i in range(81) if digit_pixels(picture, at_twice(i), colour, 44, 20) > 24]
        check(on_screen == pictured, "%s in %s on the screen, %s in the picture" % (
            colour, on_screen, pictured))
    check(near(picture.pixel(at_twice(named[0])[0] - 38, at_twice(named[0])[1] - 38), PEER_TINT, 8),
          "the peer's tint in the picture")
    s.key("m", "Home")

    # The strip: its right end is the solution, its middle a state between,
    # its left end the givens again.
    open_cells = 81 - len(givens)
    s.click(499, STRIP_Y)
    wait_until(lambda: len(solver_cells(s.screenshot(keep=False))) == open_cells, 10,
               "the strip's right end to show the solution")
    s.click(270, STRIP_Y)
    middle = wait_until(lambda: (lambda sh: sh if 0 < len(solver_cells(sh)) < open_cells else None)(
        s.screenshot(name="strip_middle")), 10, "the strip's middle to show a state between")

    # Shift+P there: a GIF from the givens to the board shown, one unit a pixel.
    s.key("shift+p")
    gif = wait_until(lambda: [f for f in os.listdir(s.pictures) if f.endswith(".gif")], 30,
                     "the animation")[0]
    # Pillow puts each frame over the last, one frame held at a time.
    with Image.open(os.path.join(s.pictures, gif)) as film:
        count = film.n_frames
        for frame, name in ((0, "first.png"), (count - 1, "last.png")):
            film.seek(frame)
            film.convert("RGB").save(os.path.join(s.work, name))
    first, last = (Screenshot(os.path.join(s.work, name)) for name in ("first.png", "last.png"))
    in_gif = lambda i: (30 + 50 * (i % 9), 30 + 50 * (i // 9))
    for colour, shot in ((INK, first), (SOLVER_INK, first), (INK, last), (SOLVER_INK, last)):
        pictured = [i for i in range(81) if digit_pixels(shot, in_gif(i), colour) > 20]
        expected = (givens if colour == INK else [] if shot is first else solver_cells(middle))
        check(pictured == expected, "%s in %s, not %s, in frame %s" % (
            colour, pictured, expected, "first" if shot is first else "last"))
    print("animation of the strip's middle: %d frames, %d bytes" % (
        count, os.path.getsize(os.path.join(s.pictures, gif))))
    s.click(42, STRIP_Y)
    wait_until(lambda: solver_cells(s.screenshot(keep=False)) == [], 10,
               "the strip's left end to show the givens")
    s.key("End")
    wait_until(lambda: s.screenshot(name="replay_end").raw == done.raw, 10,
               "End to show the board as the search left it")
    check(board_line(s) == solution, "the solution is back")

    # The wheel: towards the user slows the pace, shown on the line; a search
    # started then goes at it.
    s.scroll(down=15)
    wait_until(lambda: status_line(s.screenshot(keep=False)) != status_line(done), 10,
               "the pace on the line")
    s.key("space")
    time.sleep(1.5)
    check(len(solver_cells(s.screenshot(name="wheel_slowed"))) <= 3, "a search at one change a second")
    s.key("Escape")
    s.scroll(up=15)
    s.key("q")
    check(s.wait_exit() == 0, "exit status")
    check(s.read("autosave") == autosave_bytes(ESCARGOT), "only the givens saved")


def solving(s):
    # A file where the pictures folder should be: P cannot save, at first.
    s.pictures = os.path.join(s.work, "pictures")
    open(s.pictures, "w").close()
    s.env["XDG_PICTURES_DIR"] = s.pictures
    s.write(autosave_bytes(HARD), "autosave")
    s.start()
    givens = [i for i, c in enumerate(HARD) if c != "."]
    shot = s.screenshot(name="hard_loaded")
    check(ink_cells(shot) == givens, "givens shown in ink: %s" % ink_cells(shot))
    solve_label = label(shot)

    s.click(*palette_centre(5))
    s.click(*SOLVE)
    shot = wait_until(lambda: (lambda sh: sh if label(sh) != solve_label else None)(
        s.screenshot(name="searching")), 10, "the button to read Stop while searching")
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

    watching(s)


run([solving])

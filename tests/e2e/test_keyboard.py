"""Enter alone does nothing; Alt+Enter goes full screen and back. A puzzle
typed in, Clear undone and redone, the card of the keys. Ctrl+V pastes a
puzzle and Ctrl+C copies the board; letters and digits go by the layout."""

import os
import subprocess

from harness import (BACKGROUND, CLEAR, HARD, INK, SCREEN_HEIGHT, SCREEN_WIDTH, SOLVE,
                     autosave_bytes, cell_centre, check, near, palette_centre, run, shows_digit,
                     digit_pixels, wait_until, outlined)

GRID = "..3.2.6..9..3.5..1..18.64....81.29..7.......8..67.82....26.95..8..2.3..9..5.1.3.."
SOLUTION = "483921657967345821251876493548132976729564138136798245372689514814253769695417382"


def keyboard(s):
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
    # The grid and the digits follow the middle of the screen.
    left, top = SCREEN_WIDTH // 2 - 225, SCREEN_HEIGHT // 2 - 305
    check(near(shot.pixel(left + 15, top), INK, 2) and near(shot.pixel(left, top + 15), INK, 2),
          "grid corner at (%d, %d)" % (left, top))
    cell0 = (SCREEN_WIDTH // 2 - 200, SCREEN_HEIGHT // 2 - 280)
    check(digit_pixels(shot, cell0, INK) > 20, "the given follows the grid")
    # A click lands on what is drawn: palette 2 sits at the middle, 195 below.
    palette2 = (SCREEN_WIDTH // 2, SCREEN_HEIGHT // 2 + 195)
    s.click(*palette2)
    check(outlined(s.screenshot(name="full_screen_click"), palette2), "palette 2 selected")
    s.click(*palette2)

    s.key("alt+Return")
    wait_until(lambda: s.window_geometry() == windowed, 10, "the window back in place")
    s.settle(0.5)
    shot = s.screenshot(name="windowed_again")
    check(shows_digit(shot, 0), "the window layout is back")
    s.key("q")
    check(s.wait_exit() == 0, "exit status")


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

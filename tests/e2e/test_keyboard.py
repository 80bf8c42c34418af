"""Enter alone does nothing; Alt+Enter goes full screen and back."""

from harness import (INK, SCREEN_HEIGHT, SCREEN_WIDTH, autosave_bytes, check, near, run,
                     shows_digit, digit_pixels, wait_until, outlined)


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


run([keyboard])

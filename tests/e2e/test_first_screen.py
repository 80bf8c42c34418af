"""The first screen a user sees, the frame-rate title, and closing the window."""

import os
import re
import time

from Xlib import X, display as xdisplay

from harness import (BACKGROUND, INK, CLEAR, SOLVE, ERASER, SOLVER_INK, autosave_bytes, check,
                     near, palette_centre, run, wait_until)

SMALL_TINT = (230, 210, 169)  # ink at 32/255 over the background
CLEAR_TINT = (222, 176, 145)  # dark red at 64/255
SOLVE_TINT = (190, 208, 145)  # green at 64/255
LOADING_BLEND = (158, 136, 97)  # the loading text: ink at 128/255


def first_screen(s):
    s.start()
    shot = s.screenshot(name="first_screen")
    check((shot.width, shot.height) == (540, 960), "window is %dx%d" % (shot.width, shot.height))
    check(near(shot.pixel(5, 5), BACKGROUND, 2), "background %s" % (shot.pixel(5, 5),))
    check(near(shot.pixel(535, 955), BACKGROUND, 2), "background bottom-right")

    # Grid lines: 2 units thick at 0, 3, 6 and 9, else 1; x = 60 and y = 190
    # cross them inside the first column and row of cells.
    for i in range(10):
        y = 175 + 50 * i
        x = 45 + 50 * i
        thick = i % 3 == 0
        check(near(shot.pixel(60, y), INK, 2), "row line %d" % i)
        check(near(shot.pixel(60, y + 1), INK, 2) == thick, "row line %d thickness" % i)
        check(near(shot.pixel(60, y - 1), BACKGROUND, 2), "above row line %d" % i)
        check(near(shot.pixel(x, 190), INK, 2), "column line %d" % i)
        check(near(shot.pixel(x + 1, 190), INK, 2) == thick, "column line %d thickness" % i)
        check(near(shot.pixel(x - 1, 190), BACKGROUND, 2), "left of column line %d" % i)
    check(near(shot.pixel(497, 400), BACKGROUND, 2), "grid ends with the 2-unit line at 495")

    # The title "Tessarin" in ink, centred on (270, 84).
    title = [x for y in range(50, 120) for x in range(0, 540)
             if near(shot.pixel(x, y), INK, 30)]
    check(len(title) > 800, "title ink pixels: %d" % len(title))
    check(abs((min(title) + max(title)) / 2 - 270) <= 4, "title centred: %d..%d"
          % (min(title), max(title)))

    # Palette digits in ink on tinted, rounded panels.
    for digit in range(1, 10):
        cx, cy = palette_centre(digit)
        ink = shot.count(cx - 12, cy - 16, cx + 12, cy + 16, lambda p: near(p, INK, 30))
        check(ink > 20, "palette digit %d drawn (%d ink pixels)" % (digit, ink))
        check(near(shot.pixel(cx, cy - 25), SMALL_TINT, 4),
              "palette %d tint %s" % (digit, shot.pixel(cx, cy - 25)))
        check(near(shot.pixel(cx - 30, cy - 30), BACKGROUND, 3), "palette %d corner" % digit)
        check(near(shot.pixel(cx - 22, cy - 22), SMALL_TINT, 4), "inside palette %d" % digit)
    check(near(shot.pixel(ERASER[0], ERASER[1] - 25), SMALL_TINT, 4), "eraser tint")
    check(near(shot.pixel(CLEAR[0], CLEAR[1] - 25), CLEAR_TINT, 4),
          "clear tint %s" % (shot.pixel(CLEAR[0], CLEAR[1] - 25),))
    check(near(shot.pixel(SOLVE[0], SOLVE[1] - 25), SOLVE_TINT, 4),
          "solve tint %s" % (shot.pixel(SOLVE[0], SOLVE[1] - 25),))
    check(near(shot.pixel(CLEAR[0] - 55, CLEAR[1] - 30), BACKGROUND, 3), "clear corner")
    check(near(shot.pixel(CLEAR[0] - 56, CLEAR[1]), BACKGROUND, 3), "clear panel is 110 wide")
    check(near(shot.pixel(CLEAR[0] - 54, CLEAR[1]), CLEAR_TINT, 4), "clear panel left edge")

    # The loading screen is gone.
    leftovers = shot.count(150, 440, 390, 520, lambda p: near(p, LOADING_BLEND, 12))
    check(leftovers == 0, "loading text still visible (%d pixels)" % leftovers)

    # The window's icon: the 64-pixel picture of a board in the program's colours.
    conn = xdisplay.Display(s.display)
    try:
        window = conn.create_resource_object("window", int(s.window))
        icon = window.get_full_property(conn.intern_atom("_NET_WM_ICON"), X.AnyPropertyType)
    finally:
        conn.close()
    check(icon is not None and list(icon.value[:2]) == [64, 64], "no 64-pixel window icon")
    colours = {}
    for argb in icon.value[2:]:
        rgb = ((argb >> 16) & 255, (argb >> 8) & 255, argb & 255)
        key = [name for name, c in (("cream", BACKGROUND), ("ink", INK), ("solver", SOLVER_INK))
               if argb >> 24 == 255 and rgb == c]
        colours[key[0] if key else "other"] = colours.get(key[0] if key else "other", 0) + 1
    check(all(colours.get(name, 0) > 100 for name in ("cream", "ink", "solver")),
          "icon colours %s" % colours)

    # After a second the title carries the frame count.
    title = wait_until(lambda: re.fullmatch(r"game \(fps: (\d+)\)", s.title()), 5,
                       "the frame-rate title")
    fps = int(title.group(1))
    check(20 <= fps <= 210, "frame count %d" % fps)

    # Closing the window saves the (empty) board beside the executable.
    s.request_close()
    check(s.wait_exit() == 0, "exit status")
    check(s.read("autosave") == autosave_bytes("." * 81), "autosave of an empty board")
    check(not os.path.exists(os.path.join(s.elsewhere, "autosave")), "saved in the wrong folder")


run([first_screen])

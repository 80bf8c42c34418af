"""The first screen a user sees, the frame-rate title, and closing the window;
the same screen at double pixel density where the display asks for it, and
fitted to small or scaled screens under a window manager."""

import os
import re
import subprocess
import time

from Xlib import X, display as xdisplay

from harness import (BACKGROUND, BIG_SCREEN, INK, CLEAR, HARD, SOLVE, SOLVER_INK, ERASER,
                     autosave_bytes, cell_centre, check, crop, digit_pixels, fit_in, near,
                     palette_centre, run, wait_until)

SMALL_TINT = (230, 210, 169)  # ink at 32/255 over the background
CLEAR_TINT = (222, 176, 145)  # dark red at 64/255
SOLVE_TINT = (190, 208, 145)  # green at 64/255
LOADING_BLEND = (158, 136, 97)  # the loading text: ink at 128/255


def first_screen(s):
    s.start()
    wm_class = subprocess.run(["xprop", "-id", str(s.window), "WM_CLASS"], env=s.env,
                              capture_output=True, text=True).stdout
    check('"tessarin", "Tessarin"' in wm_class, "the window's class: %r" % wm_class)
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

    # After a second the title carries the count of frames drawn: none on a
    # still board. A typed given of the selected digit pulses, a frame every
    # frame; undone, the board is still again. A sanitizer build runs beside
    # other tests and its count says nothing.
    wait_until(lambda: re.fullmatch(r"game \(fps: 0\)", s.title()), 5, "a still second")
    s.key("Right", "5")
    time.sleep(2.2)
    fps = s.fps()
    check(20 <= fps <= 210 or os.environ.get("TESSARIN_SANITIZED"), "frame count %d" % fps)
    s.key("ctrl+z", "Escape")
    wait_until(lambda: s.fps() == 0, 5, "a still second after the undo")

    # Closing the window saves the (empty) board beside the executable.
    s.request_close()
    check(s.wait_exit() == 0, "exit status")
    check(s.read("autosave") == autosave_bytes("." * 81), "autosave of an empty board")
    check(not os.path.exists(os.path.join(s.elsewhere, "autosave")), "saved in the wrong folder")

    # The window opens where the last run left it, brought inside the screen;
    # moved, its new place is what the next run takes.
    s.write(b"tessarin session 1\npace flat-out\nlength medium\nstrategy in-order\n"
            b"window 3000 -500 540 960 1.00000\nfull-screen no\n", "session")
    s.start()
    check(s.window_geometry() == (740, 0, 540, 960), "placed at %s" % (s.window_geometry(),))
    subprocess.run(["xdotool", "windowmove", "--sync", s.window, "100", "50"], env=s.env,
                   check=True)
    s.key("q")
    check(s.wait_exit() == 0, "exit status after the move")
    check(b"\nwindow 100 50 540 960 1.00000\n" in s.read("session"), "%r" % s.read("session"))


def twice(point):
    return 2 * point[0], 2 * point[1]


def caches(s):
    """The font cache files: name -> (bytes, inode, mtime), to tell a read from a rewrite."""
    folder = s.path("tmp")
    return {name: (s.read("tmp", name), os.stat(os.path.join(folder, name)).st_ino,
                   os.stat(os.path.join(folder, name)).st_mtime_ns)
            for name in sorted(os.listdir(folder))}


def blown_up(shot, x0, y0, x1, y1):
    """True when some alignment of 2 x 2 blocks makes every block one colour:
    what a single-density glyph stretched to twice its size looks like."""
    for ox in (0, 1):
        for oy in (0, 1):
            if all(len({shot.pixel(x, y), shot.pixel(x + 1, y), shot.pixel(x, y + 1),
                        shot.pixel(x + 1, y + 1)}) == 1
                   for y in range(y0 + oy, y1 - 1, 2) for x in range(x0 + ox, x1 - 1, 2)):
                return True
    return False


def check_double_grid(shot):
    """Grid lines at twice the positions, 4 pixels thick at 0, 3, 6 and 9, else 2."""
    for i in range(10):
        thickness = 4 if i % 3 == 0 else 2
        y, x = 2 * (175 + 50 * i), 2 * (45 + 50 * i)
        check(all(near(shot.pixel(120, y + d), INK, 2) for d in range(thickness)), "row %d" % i)
        check(near(shot.pixel(120, y - 1), BACKGROUND, 2), "above row line %d" % i)
        check(near(shot.pixel(120, y + thickness), BACKGROUND, 2), "row line %d thickness" % i)
        check(all(near(shot.pixel(x + d, 380), INK, 2) for d in range(thickness)),
              "column %d" % i)
        check(near(shot.pixel(x - 1, 380), BACKGROUND, 2), "left of column line %d" % i)
        check(near(shot.pixel(x + thickness, 380), BACKGROUND, 2),
              "column line %d thickness" % i)


def double_density(s):
    # A start at the default density leaves the single-density font caches.
    s.start()
    plain = s.screenshot(name="single_density")
    check((plain.width, plain.height) == (540, 960), "window is %dx%d" % (plain.width,
                                                                           plain.height))
    s.key("q")
    check(s.wait_exit() == 0, "exit status")
    single = caches(s)
    check(len(single) == 4 and all("@" not in name for name in single), "caches %s" % single)

    # Xft.dpi 192 asks for 200 %: the window is twice the size, in every direction.
    s.set_xft_dpi(192)
    s.scale = 2
    s.write(autosave_bytes(HARD), "autosave")
    s.start()
    shot = s.screenshot(name="double_density")
    check((shot.width, shot.height) == (1080, 1920), "window is %dx%d" % (shot.width,
                                                                           shot.height))
    check_double_grid(shot)
    # Digits and title from bakes at twice the size, not stretched.
    for digit in (1, 5, 8):
        cx, cy = palette_centre(digit, 2)
        check(not blown_up(shot, cx - 20, cy - 24, cx + 20, cy + 24), "digit %d" % digit)
        check(digit_pixels(shot, (cx, cy), INK, 32) > 150, "digit %d ink" % digit)
    check(not blown_up(shot, 400, 120, 680, 220), "the title is stretched")
    # The panels' rounded corners come from the 128-pixel image, whose edge is
    # one pixel soft; the 64-pixel image stretched would be two.
    cx, cy = palette_centre(1, 2)
    soft = shot.count(cx - 60, cy - 60, cx - 36, cy - 36,
                      lambda p: not near(p, BACKGROUND, 2) and not near(p, (230, 210, 169), 2))
    check(soft < 50, "%d pixels on the panel's corner edge" % soft)

    # Clicks at twice the layout's positions: Solve, Stop, a given, a solve.
    solve_label = crop(shot, twice(SOLVE), 90, 40)
    s.click(*twice(SOLVE))
    check(crop(s.screenshot(keep=False), twice(SOLVE), 90, 40) != solve_label,
          "the button reads Stop")
    s.click(*twice(SOLVE))
    wait_until(lambda: crop(s.screenshot(keep=False), twice(SOLVE), 90, 40) == solve_label, 10,
               "the label Solve after Stop")
    s.click(*twice(CLEAR))
    s.click(*palette_centre(5, 2))
    s.click(*cell_centre(40, 2))
    s.click(*twice(ERASER))
    s.click(*twice(SOLVE))
    shot = wait_until(lambda: (lambda sh: sh if digit_pixels(sh, cell_centre(80, 2), SOLVER_INK,
                                                             32) > 80 else None)(
        s.screenshot(keep=False)), 10, "a solved board")
    check(digit_pixels(shot, cell_centre(40, 2), INK, 32) > 80, "the given 5 in ink")
    check(digit_pixels(shot, cell_centre(0, 2), SOLVER_INK, 32) > 80, "solver digit in cell 0")

    # Full screen grows the screen to fit, centred, and back gives the window's
    # own pixels again. The first frame after the switch may come from the old size.
    s.key("alt+Return")
    fit = fit_in(*BIG_SCREEN)
    shot = wait_until(lambda: (lambda sh: sh if sh.width == BIG_SCREEN[0] and near(
        sh.pixel(*fit(45, 300)), INK, 2) else None)(
        s.screenshot(keep=False)), 10, "grid's left line in full screen")
    check_layout(shot, fit)
    s.click(*fit(*cell_centre(0)))  # no digit selected: erased
    check(digit_pixels(s.screenshot(keep=False), fit(*cell_centre(0)), SOLVER_INK, 32) == 0,
          "a click in full screen erases cell 0")
    s.key("alt+Return")
    shot = wait_until(lambda: (lambda sh: sh if sh.width == 1080 else None)(
        s.screenshot(keep=False)), 10, "the window again")
    check((shot.width, shot.height) == (1080, 1920), "window is %dx%d" % (shot.width,
                                                                           shot.height))
    check_double_grid(shot)
    s.key("q")
    check(s.wait_exit() == 0, "exit status")
    check(s.read("autosave") == autosave_bytes("." * 40 + "5" + "." * 40), "autosave")

    # Double-density bakes have caches of their own; the others are untouched.
    both = caches(s)
    check(sorted(both) == sorted(list(single) + [name + "@2x" for name in single]),
          "caches %s" % sorted(both))
    check(all(both[name] == single[name] for name in single), "single-density caches changed")
    check(len(both["font.title_font.64@2x"][0]) == 1056180, "title bake at 128 pixels")

    # Back at the default density: the single-density caches are read and the
    # first screen is the one of the first start.
    s.set_xft_dpi(None)
    s.scale = 1
    os.remove(s.path("autosave"))
    s.start()
    again = s.screenshot(name="single_density_again")
    check(again.raw == plain.raw, "the first screen differs from the first start's")
    s.key("q")
    check(s.wait_exit() == 0, "exit status")
    check(caches(s) == both, "caches rewritten")


double_density.screen = BIG_SCREEN


def start_fitted(s, screen, dpi, low, high):
    """Starts under the window manager: the window and its frame lie inside the
    screen, the scale is in range, the layout is whole and crisp and clicks
    land. Returns the layout's placement in the window and the Solve label."""
    s.set_xft_dpi(dpi)
    s.write(autosave_bytes(HARD), "autosave")
    s.start(expect_window=False)
    s.window = wait_until(s.find_window, 60, "the window")
    conn = xdisplay.Display(s.display)
    window = conn.create_resource_object("window", int(s.window))
    wait_until(lambda: window.get_attributes().map_state == X.IsViewable, 30, "the map")
    size, at = window.get_geometry(), conn.screen().root.translate_coords(window, 0, 0)
    left, right, top, bottom = window.get_full_property(
        conn.intern_atom("_NET_FRAME_EXTENTS"), X.AnyPropertyType).value
    conn.close()
    s.scale = size.height / 960
    print("%dx%d: scale %.5f, window %dx%d at (%d, %d), frame %s" % (
        screen + (s.scale, size.width, size.height, at.x, at.y, (left, top, right, bottom))))
    check(at.x >= left and at.y >= top and at.x + size.width + right <= screen[0]
          and at.y + size.height + bottom <= screen[1], "the window leaves the screen")
    check(low <= s.scale <= high, "scale %.5f" % s.scale)
    wait_until(s.game_screen_shown, 60, "the game screen")
    fit = fit_in(size.width, size.height)
    check_layout(s.screenshot(name="fitted"), fit)
    return fit, check_clicks(s, fit)


def check_layout(shot, fit):
    """The title, the bottom of X, and 20 grid lines: crisp (every pixel ink or
    background), thin ones and thick ones each of one width, spaced evenly to a pixel."""
    title = shot.count(0, fit(0, 50)[1], shot.width, fit(0, 120)[1], lambda p: near(p, INK, 30))
    check(title > 500 * fit.unit ** 2, "title ink pixels: %d" % title)
    check(near(shot.pixel(*fit(400, 832)), SMALL_TINT, 6), "bottom of the X button")
    check(near(shot.pixel(*fit(400, 838)), BACKGROUND, 3), "below the X button")
    (x0, y0), (x1, y1) = fit(35, 170), fit(500, 630)
    for line in ([shot.pixel(x, fit(0, 180)[1]) for x in range(x0, x1)],
                 [shot.pixel(fit(50, 0)[0], y) for y in range(y0, y1)]):
        ink = [near(p, INK, 2) for p in line]
        check(all(i or near(p, BACKGROUND, 2) for i, p in zip(ink, line)), "blurred lines")
        edges = [i for i in range(1, len(ink)) if ink[i] and not ink[i - 1]]
        widths = [ink.index(False, i) - i for i in edges]
        gaps = [b - a for a, b in zip(edges, edges[1:])]
        thin = {w for i, w in enumerate(widths) if i % 3}
        # The boxes show at every scale: their lines wider than the cells'.
        check(len(edges) == 10 and max(gaps) - min(gaps) <= 1 and len(thin) == 1
              and set(widths[::3]) == {max(widths)} and max(widths) > max(thin),
              "grid lines at %s, %s wide" % (edges, widths))


def label(shot, fit):
    return crop(shot, fit(*SOLVE), int(40 * fit.unit), int(20 * fit.unit))


def check_clicks(s, fit):
    """A 9 entered through the palette and erased with X; Solve, then Stop."""
    for choice, entered in ((palette_centre(9), True), (ERASER, False)):
        s.click(*fit(*choice))
        s.click(*fit(*cell_centre(1)))
        pixels = digit_pixels(s.screenshot(keep=False), fit(*cell_centre(1)), INK,
                              int(16 * fit.unit))
        check((pixels > 20 * fit.unit ** 2) == entered, "%d ink pixels in cell 1" % pixels)
    solve = label(s.screenshot(keep=False), fit)
    s.click(*fit(*SOLVE))
    check(label(s.screenshot(keep=False), fit) != solve, "the button reads Stop")
    s.click(*fit(*SOLVE))
    wait_until(lambda: label(s.screenshot(keep=False), fit) == solve, 10, "Solve after Stop")
    return solve


def cpu_over(s, seconds):
    def used():
        with open("/proc/%d/stat" % s.program.pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
    before = used()
    time.sleep(seconds)
    return used() - before


def minimise(s, seconds):
    """The program's CPU time while minimised; then restored and drawn again."""
    placed = s.window_geometry()
    subprocess.run(["xdotool", "windowminimize", "--sync", s.window], env=s.env, check=True)
    s.settle()
    used = cpu_over(s, seconds)
    # Mapping an iconic window asks the window manager to restore it. Openbox
    # animates the restore, moving the window on the way: a click before it is
    # back in its place lands elsewhere.
    subprocess.run(["xdotool", "windowmap", "--sync", s.window], env=s.env, check=True)
    wait_until(lambda: s.window_geometry() == placed and s.game_screen_shown(), 5, "the restore")
    return used


def small_laptop(s):
    fit, solve = start_fitted(s, (1366, 768), None, 0.7, 0.78)
    opened = s.window_geometry()[2:]
    # A still board rests; a pulsing digit is drawn every frame, but not
    # minimised; a search goes on meanwhile; restored it is current.
    still = cpu_over(s, 3)
    s.key("9")
    moving = cpu_over(s, 3)
    resting = minimise(s, 3)
    print("CPU over 3 s: %.2f s still, %.2f s pulsing, %.2f s minimised" % (still, moving,
                                                                           resting))
    check(still < moving / 10, "still CPU %.2f s against %.2f s" % (still, moving))
    check(resting < moving / 10, "minimised CPU %.2f s against %.2f s" % (resting, moving))
    s.click(*fit(*SOLVE))
    wait_until(lambda: label(s.screenshot(keep=False), fit) != solve, 10, "Stop")
    before = s.screenshot(keep=False)
    minimise(s, 1)
    after = s.screenshot(keep=False)
    check(label(after, fit) != solve and crop(after, fit(270, 400), 100, 100)
          != crop(before, fit(270, 400), 100, 100), "no search, or an old screen, after restore")
    s.click(*fit(*SOLVE))
    # Dragged smaller than the layout: all of it shows, scaled down, and clicks land.
    subprocess.run(["xdotool", "windowsize", s.window, "400", "700"], env=s.env, check=True)
    wait_until(lambda: s.screenshot(keep=False).height == 700, 10, "the smaller window")
    s.settle(1)
    fit = fit_in(400, 700)
    check_layout(s.screenshot(name="dragged_small"), fit)
    check_clicks(s, fit)
    # No smaller than half the size it opened at, and there a watched search's
    # status still reads: a 9-pixel font (7 rows of ink from "1" to "p"), inside the window.
    subprocess.run(["xdotool", "windowsize", s.window, "100", "100"], env=s.env, check=True)
    s.settle(1)
    width, height = s.window_geometry()[2:]
    check((width, height) == (opened[0] // 2, opened[1] // 2), "least size %dx%d" % (width, height))
    fit = fit_in(width, height)
    s.key("minus")
    s.key("space")
    s.settle(1)
    shot = s.screenshot(name="least_size_watched")
    s.key("Escape")
    top, foot = fit(0, 838)[1], fit(0, 878)[1]
    inked = [(x, y) for y in range(top, foot) for x in range(width)
             if near(shot.pixel(x, y), INK, 90)]
    rows = {y for _, y in inked}
    check(inked and max(rows) - min(rows) >= 6 and min(x for x, _ in inked) > 2
          and max(x for x, _ in inked) < width - 3, "the status at the least size: rows %s, %s"
          % (sorted(rows), sorted({x for x, _ in inked})[::10]))


def full_screen(s, screen, fit):
    """Full screen grows the layout to the screen's height (or width), crisp,
    centred, and back gives the window's screen again."""
    before = s.screenshot(keep=False)
    s.key("alt+Return")
    grown = fit_in(*screen)
    shot = wait_until(lambda: (lambda sh: sh if sh.width == screen[0] and near(
        sh.pixel(*grown(45, 300)), INK, 2) else None)(s.screenshot(keep=False)), 10,
                      "the full screen")
    print("full screen %dx%d: %.3f times the window's layout" % (screen + (grown.unit / fit.unit,)))
    check_layout(s.screenshot(name="full_screen"), grown)
    s.key("alt+Return")
    wait_until(lambda: s.screenshot(keep=False).raw == before.raw, 10, "the window's own screen")


def fitted_test(screen, dpi, low, high, grows=1):
    """A screen where the scale asked for (100 %, 150 %, 200 %) does not fit:
    the most that fits, not 1. In full screen the layout grows at least `grows` times."""
    def test(s):
        fit, _ = start_fitted(s, screen, dpi, low, high)
        full_screen(s, screen, fit)
        check(fit_in(*screen).unit >= grows * fit.unit, "full screen grows the layout")
    test.__name__ = "fitted_%dx%d_%s" % (screen + (dpi,))
    test.screen, test.window_manager = screen, True
    return test


small_laptop.screen, small_laptop.window_manager = (1366, 768), True
run([first_screen, double_density, small_laptop, fitted_test((1280, 720), None, 0.68, 0.73),
     fitted_test((1920, 1080), None, 0.99, 1, 1.1),
     fitted_test((2560, 1440), 144, 1.4, 1.5), fitted_test((2880, 1800), 192, 1.5, 1.99)])

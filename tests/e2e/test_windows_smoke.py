"""The Windows build under wine: the zip unpacked to a temporary folder and
started from another folder, driven like the Linux program, and its first
screen compared pixel by pixel with the Linux build's.

Skipped only when wine is neither installed nor installable.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

from harness import (BACKGROUND, INK, WineSession, autosave_bytes, cell_centre, check, near,
                     palette_centre, run, shows_digit)

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ZIP = os.path.join(REPO, "build-windows", "tessarin-windows-x64.zip")

PANEL_TINT = (230, 210, 169)  # ink at 32/255 over the background


def wine_available():
    if shutil.which("wine"):
        return True
    subprocess.run([os.path.join(REPO, "scripts", "install-deps")])
    return shutil.which("wine") is not None


def check_first_screen(shot):
    check((shot.width, shot.height) == (540, 960), "window is %dx%d" % (shot.width, shot.height))
    check(near(shot.pixel(5, 5), BACKGROUND, 2), "background %s" % (shot.pixel(5, 5),))
    # Grid lines cross x = 60 and y = 190 inside the first column and row of cells.
    for i in range(10):
        check(near(shot.pixel(60, 175 + 50 * i), INK, 2), "row line %d" % i)
        check(near(shot.pixel(45 + 50 * i, 190), INK, 2), "column line %d" % i)
    cx, cy = palette_centre(1)
    check(near(shot.pixel(cx, cy - 25), PANEL_TINT, 4),
          "palette panel tint %s" % (shot.pixel(cx, cy - 25),))
    title = shot.count(0, 50, 540, 120, lambda p: near(p, INK, 30))
    check(title > 800, "title ink pixels: %d" % title)


def font_cache(session):
    folder = session.path("tmp")
    check(os.path.isdir(folder), "no tmp/ beside the executable")
    return {name: session.read("tmp", name) for name in sorted(os.listdir(folder))}


def save_while_held(wine, saved):
    """Another program holds "autosave" open without sharing when the program
    saves at exit: the rename is tried again for about 200 ms. Held for 2 s,
    the save gives up and the old one stays whole; let go after 150 ms, the
    new save lands."""
    helper = os.path.join(wine.elsewhere, "hold_file.exe")
    subprocess.run(["x86_64-w64-mingw32-gcc", "-O2", "-o", helper,
                    os.path.join(os.path.dirname(os.path.abspath(__file__)), "hold_file.c")],
                   check=True)
    new = autosave_bytes("." * 40 + "57" + "." * 39)
    for hold_ms, expected in ((2000, saved), (150, new)):
        # A program started while wine's server shuts down after the last
        # one waits about 10 s for it: let it end first.
        subprocess.run(["wineserver", "-w"], env=wine.env, check=True)
        wine.start()
        wine.click(*palette_centre(7))
        wine.click(*cell_centre(41))
        hold = subprocess.Popen(["wine", helper, "Z:" + wine.path("autosave").replace("/", "\\"),
                                 str(hold_ms)], cwd=wine.elsewhere, env=wine.env,
                                stdout=subprocess.PIPE, text=True)
        try:
            check(hold.stdout.readline().strip() == "held", "the helper holds the save")
            wine.key("q")
            check(wine.wait_exit() == 0, "exit status with the save held %d ms" % hold_ms)
        finally:
            hold.wait()
        check(wine.read("autosave") == expected, "held %d ms: autosave %s"
              % (hold_ms, wine.read("autosave").hex()))
        left = [name for name in os.listdir(wine.run_dir) if name.endswith(".tmp")]
        check(not left, "held %d ms: temporary files left: %s" % (hold_ms, left))


def run_windows(zip_path, shots):
    """Drives the unpacked Windows build; returns its first screen and font cache."""
    unpacked = tempfile.mkdtemp(prefix="tessarin-zip-")
    try:
        subprocess.run(["unzip", "-q", zip_path, "-d", unpacked], check=True)
        started = time.monotonic()
        wine = WineSession(os.path.join(unpacked, "tessarin"), "windows_smoke")
        print("wine prefix made in %.1f s" % (time.monotonic() - started))
        wine.shots = shots
        try:
            wine.start()
            first = wine.screenshot(name="windows_first_screen")
            check_first_screen(first)

            wine.click(*palette_centre(5))
            wine.click(*cell_centre(40))
            check(shows_digit(wine.screenshot(name="windows_given"), 40), "the given 5 not shown")

            wine.key("q")
            check(wine.wait_exit() == 0, "exit status %d" % wine.program.returncode)
            saved = wine.read("autosave")
            check(saved == autosave_bytes("." * 40 + "5" + "." * 40),
                  "autosave holds %d bytes: %s" % (len(saved), saved.hex()))
            check(not os.path.exists(os.path.join(wine.elsewhere, "autosave")),
                  "saved in the starting folder")
            cache = font_cache(wine)
            check(cache and all(name.startswith("font.") for name in cache),
                  "font cache files: %s" % sorted(cache))
            save_while_held(wine, saved)
            return first, cache
        finally:
            wine.close()
    finally:
        shutil.rmtree(unpacked, ignore_errors=True)


def windows_smoke(linux):
    started = time.monotonic()
    built = subprocess.run([os.path.join(REPO, "scripts", "build-windows")],
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    check(built.returncode == 0, "scripts/build-windows failed:\n" + built.stdout[-3000:])
    print("scripts/build-windows took %.1f s" % (time.monotonic() - started))
    windows_shot, windows_cache = run_windows(ZIP, linux.shots)

    # The Linux build's first screen in an X server of the same kind.
    linux.start()
    linux_shot = linux.screenshot(name="linux_first_screen")
    check_first_screen(linux_shot)
    linux.key("q")
    check(linux.wait_exit() == 0, "Linux exit status")
    linux_cache = font_cache(linux)

    differing = sum(1 for i in range(0, len(linux_shot.raw), 3)
                    if linux_shot.raw[i:i + 3] != windows_shot.raw[i:i + 3])
    print("pixels differing between the Windows and Linux first screens: %d" % differing)
    check(sorted(windows_cache) == sorted(linux_cache),
          "font cache files %s on Windows, %s on Linux" % (sorted(windows_cache),
                                                            sorted(linux_cache)))
    same = [name for name in linux_cache if windows_cache[name] == linux_cache[name]]
    print("font cache files identical on both: %d of %d" % (len(same), len(linux_cache)))
    check(differing == 0, "%d pixels differ" % differing)


if __name__ == "__main__":
    if not wine_available():
        print("skipped: wine is not installed and could not be installed")
        sys.exit(0)
    run([windows_smoke])

"""Files pulled from under the running program: shader sources deleted, made
broken and restored; the image replaced by garbage, an empty file and a
1 x 1 PNG, then restored; the font caches and the save deleted. The program
keeps running and drawing through all of it, and still saves at the end."""

import os
import subprocess
import time

from harness import (BACKGROUND, autosave_bytes, check, near, palette_centre, responds, run,
                     shows_digit, wait_until)

SAVED = autosave_bytes("123" + "." * 78)
MAGENTA = (255, 0, 255)


def write_newer(s, data, *parts):
    """Writes a file with a modification time that is sure to differ."""
    path = s.path(*parts)
    with open(path, "wb") as f:
        f.write(data)
    write_newer.stamp += 5
    os.utime(path, (write_newer.stamp, write_newer.stamp))


write_newer.stamp = time.time() + 5


def panel_corner(s):
    x, y = palette_centre(1)
    return s.screenshot(keep=False).pixel(x - 30, y - 30)


def survives(s, what):
    # Two watch periods: the change has been seen and acted on.
    time.sleep(1.2)
    check(s.program.poll() is None, "%s: the program ended: %s" % (what, s.stderr()[-2000:]))
    responds(s)
    shot = s.screenshot(name=what.replace(" ", "_"))
    check(all(shows_digit(shot, i) for i in range(3)), "%s: the givens are drawn" % what)


def shader_faults(s):
    s.write(SAVED, "autosave")
    s.start()
    vertex = s.read("shaders_desktop", "vertex.c")
    fragment = s.read("shaders_desktop", "fragment.c")

    os.remove(s.path("shaders_desktop", "fragment.c"))
    survives(s, "fragment source deleted")
    os.remove(s.path("shaders_desktop", "vertex.c"))
    survives(s, "both sources deleted")
    write_newer(s, b"#version 330 core\nvoid main() { gl_Position = ; }\n",
                "shaders_desktop", "vertex.c")
    survives(s, "broken vertex source")
    write_newer(s, b"", "shaders_desktop", "fragment.c")
    survives(s, "empty fragment source")
    write_newer(s, vertex, "shaders_desktop", "vertex.c")
    write_newer(s, fragment, "shaders_desktop", "fragment.c")
    survives(s, "sources restored")

    # The watch still works after all that: an edit shows.
    edited = fragment.replace(b"fragment_color = texel * vec4(color, alpha);",
                              b"fragment_color = vec4(1.0, 0.0, 1.0, 1.0);")
    check(edited != fragment, "the edit applies to the fragment source")
    write_newer(s, edited, "shaders_desktop", "fragment.c")
    wait_until(lambda: near(s.screenshot(keep=False).pixel(5, 5), MAGENTA, 2), 5,
               "the edited shader")
    write_newer(s, fragment, "shaders_desktop", "fragment.c")
    wait_until(lambda: near(s.screenshot(keep=False).pixel(5, 5), BACKGROUND, 2), 5,
               "the restored shader")

    s.key("q")
    check(s.wait_exit() == 0, "exit status")
    check(s.read("autosave") == SAVED, "saved")
    check(not s.sanitizer_reports(), "sanitizer reports: %s" % s.sanitizer_reports())


def image_faults(s):
    s.write(SAVED, "autosave")
    s.start()
    png = s.read("images", "rounded_rect.png")
    check(near(panel_corner(s), BACKGROUND, 3), "rounded panel corners at start")
    tiny = os.path.join(s.work, "tiny.png")
    subprocess.run(["convert", "-size", "1x1", "xc:white", "PNG32:" + tiny], check=True)
    with open(tiny, "rb") as f:
        one_pixel = f.read()

    write_newer(s, b"\x89PNG\r\n\x1a\n" + b"garbage" * 50, "images", "rounded_rect.png")
    survives(s, "garbage image")
    check(near(panel_corner(s), BACKGROUND, 3), "a garbage file keeps the last image")
    write_newer(s, b"", "images", "rounded_rect.png")
    survives(s, "empty image")
    os.remove(s.path("images", "rounded_rect.png"))
    survives(s, "image deleted")
    write_newer(s, one_pixel, "images", "rounded_rect.png")
    wait_until(lambda: not near(panel_corner(s), BACKGROUND, 3), 5, "the 1 x 1 image on the panels")
    survives(s, "one pixel image")
    write_newer(s, png, "images", "rounded_rect.png")
    wait_until(lambda: near(panel_corner(s), BACKGROUND, 3), 5, "the rounded image back")
    survives(s, "image restored")

    s.key("q")
    check(s.wait_exit() == 0, "exit status")
    check(s.read("autosave") == SAVED, "saved")
    check(not s.sanitizer_reports(), "sanitizer reports: %s" % s.sanitizer_reports())


def cache_and_save_deleted(s):
    s.write(SAVED, "autosave")
    s.start()
    for name in os.listdir(s.path("tmp")):
        os.remove(s.path("tmp", name))
    os.rmdir(s.path("tmp"))
    os.remove(s.path("autosave"))
    survives(s, "caches and save deleted")
    s.key("q")
    check(s.wait_exit() == 0, "exit status")
    check(s.read("autosave") == SAVED, "the save is written again")
    check(not s.sanitizer_reports(), "sanitizer reports: %s" % s.sanitizer_reports())


run([shader_faults, image_faults, cache_and_save_deleted])

"""Shader and image edits show in the running program; broken ones don't stop it."""

import os
import subprocess
import time

from harness import BACKGROUND, INK, check, near, palette_centre, run, wait_until

MAGENTA = (255, 0, 255)


def write_newer(s, data, *parts):
    """Writes a file with a modification time that is sure to differ."""
    path = s.path(*parts)
    with open(path, "wb") as f:
        f.write(data)
    stamp = time.time() + 5 + write_newer.count
    write_newer.count += 5
    os.utime(path, (stamp, stamp))


write_newer.count = 0


def corner_of_panel(shot):
    x, y = palette_centre(1)
    return shot.pixel(x - 30, y - 30)


def hot_reload(s):
    s.start()
    fragment = s.read("shaders_desktop", "fragment.c")
    check(near(corner_of_panel(s.screenshot()), BACKGROUND, 3), "rounded panel corner")

    edited = fragment.replace(b"fragment_color = texel * vec4(color, alpha);",
                              b"fragment_color = vec4(1.0, 0.0, 1.0, 1.0);")
    check(edited != fragment, "the edit applies to the fragment source")
    write_newer(s, edited, "shaders_desktop", "fragment.c")
    wait_until(lambda: near(s.screenshot(keep=False).pixel(5, 5), MAGENTA, 2), 3,
               "the edited shader")

    write_newer(s, b"#version 330 core\nthis is not GLSL\n", "shaders_desktop", "fragment.c")
    time.sleep(1.5)
    check(s.program.poll() is None, "a broken shader does not end the program")
    check(near(s.screenshot(name="broken_shader").pixel(5, 5), MAGENTA, 2),
          "the last good shader keeps drawing")

    write_newer(s, fragment, "shaders_desktop", "fragment.c")
    wait_until(lambda: near(s.screenshot(keep=False).pixel(5, 5), BACKGROUND, 2), 3,
               "the restored shader")
    shot = s.screenshot(name="restored_shader")
    check(near(shot.pixel(60, 175), INK, 2), "grid drawn in ink again (uniforms restored)")

    # A square image: the panel corners fill in.
    square = os.path.join(s.work, "square.png")
    subprocess.run(["convert", "-size", "64x64", "xc:white", "PNG32:" + square], check=True)
    with open(square, "rb") as f:
        write_newer(s, f.read(), "images", "rounded_rect.png")
    wait_until(lambda: not near(corner_of_panel(s.screenshot(keep=False)), BACKGROUND, 3), 3,
               "the edited image on the panels")
    s.screenshot(name="square_panels")

    s.key("q")
    check(s.wait_exit() == 0, "exit status")


run([hot_reload])

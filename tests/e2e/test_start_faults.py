"""Assets broken in more ways at start: each font, each shader source and the
image missing, empty, garbage or a folder. Each gives a message naming the
file, exit status 1 and an untouched save. The font cache is only a
shortcut: a tmp/ that is a file, or caches that are cut short or garbage,
never stop the program."""

import os
import shutil
import subprocess
import time

from harness import autosave_bytes, check, responds, run, shows_digit, wait_until

SAVED = autosave_bytes("123" + "." * 78)
CACHES = ["font.loading_font.32", "font.title_font.64", "font.digit_font.32",
          "font.solve_font.36"]
CACHE_LENGTH = 269748


def replace(path, replacement):
    """None removes the file, "folder" puts an empty folder in its place,
    bytes become its content."""
    if os.path.isdir(path):
        shutil.rmtree(path)
    elif os.path.exists(path):
        os.remove(path)
    if replacement == "folder":
        os.mkdir(path)
    elif replacement is not None:
        with open(path, "wb") as f:
            f.write(replacement)


def fails_cleanly(s, what, name):
    s.start(expect_window=False)
    status = s.wait_exit()
    message = s.stderr()
    check(status == 1, "%s: exit status %d (%s)" % (what, status, message))
    check(name in message, "%s: message %r does not name %s" % (what, message, name))
    check(not s.sanitizer_reports(), "%s: sanitizer reports %s" % (what, s.sanitizer_reports()))
    check(s.read("autosave") == SAVED, "%s: autosave changed" % what)


def broken_assets(s):
    s.write(SAVED, "autosave")
    png = s.read("images", "rounded_rect.png")
    vertex = s.read("shaders_desktop", "vertex.c")
    fragment = s.read("shaders_desktop", "fragment.c")
    # Compiles, but a program without a fragment main() does not link.
    no_main = b"#version 330 core\nout vec4 fragment_color;\n"
    big = os.path.join(s.work, "big.png")
    subprocess.run(["convert", "-size", "8193x1", "xc:white", "PNG32:" + big], check=True)
    with open(big, "rb") as f:
        too_big = f.read()

    cases = [
        ("garbage title font", "fonts/PoetsenOne-Regular.ttf", b"\x00\x01\x00\x00" + b"x" * 60),
        ("empty title font", "fonts/PoetsenOne-Regular.ttf", b""),
        ("digit font is a folder", "fonts/arialbd.ttf", "folder"),
        ("missing fragment shader", "shaders_desktop/fragment.c", None),
        ("empty vertex shader", "shaders_desktop/vertex.c", b""),
        ("broken vertex shader", "shaders_desktop/vertex.c", b"#version 330 core\nvoid main() {"),
        ("vertex shader is a folder", "shaders_desktop/vertex.c", "folder"),
        ("empty image", "images/rounded_rect.png", b""),
        ("image cut in half", "images/rounded_rect.png", png[:len(png) // 2]),
        ("image too wide", "images/rounded_rect.png", too_big),
        ("image is a folder", "images/rounded_rect.png", "folder"),
    ]
    for what, name, replacement in cases:
        path = s.path(name)
        shutil.copy(path, path + ".good")
        shutil.rmtree(s.path("tmp"), ignore_errors=True)
        replace(path, replacement)
        fails_cleanly(s, what, os.path.basename(name))
        replace(path, None)
        os.replace(path + ".good", path)

    # Shaders that compile alone but do not link: the message names both.
    s.write(no_main, "shaders_desktop", "fragment.c")
    fails_cleanly(s, "shaders that do not link", "fragment.c")
    check("vertex.c" in s.stderr(), "the link message names vertex.c too")
    s.write(fragment, "shaders_desktop", "fragment.c")
    s.write(vertex, "shaders_desktop", "vertex.c")


def starts_and_ends(s, what):
    s.start()
    shot = s.screenshot(name=what.replace(" ", "_"))
    check(all(shows_digit(shot, i) for i in range(3)), "%s: the save is shown" % what)
    responds(s)
    s.key("q")
    check(s.wait_exit() == 0, "%s: exit status" % what)
    check(s.read("autosave") == SAVED, "%s: saved" % what)
    check(not s.sanitizer_reports(), "%s: sanitizer reports %s" % (what, s.sanitizer_reports()))


def cache_faults(s):
    s.write(SAVED, "autosave")

    # tmp is a file: no cache can be read or written, the fonts are baked each time.
    s.write(b"not a folder", "tmp")
    starts_and_ends(s, "tmp is a file")
    check(s.read("tmp") == b"not a folder", "the file named tmp is untouched")
    os.remove(s.path("tmp"))

    starts_and_ends(s, "first start")
    good = {name: s.read("tmp", name) for name in CACHES}
    check(all(len(data) == CACHE_LENGTH for data in good.values()), "caches written")

    # Cut short: refused, baked again and rewritten whole.
    for name in CACHES:
        s.write(good[name][:1000], "tmp", name)
    starts_and_ends(s, "caches cut short")
    for name in CACHES:
        check(s.read("tmp", name) == good[name], "%s rebaked to the same bytes" % name)

    # The right length but garbage: nothing can tell, so it is used as it is;
    # the glyphs are nonsense, but the program must not fail on them.
    for name in CACHES:
        s.write(bytes((i * 151 + 7) & 255 for i in range(CACHE_LENGTH)), "tmp", name)
    s.start(expect_window=False)
    s.window = wait_until(s.find_window, 30, "the window")
    time.sleep(2)
    check(s.program.poll() is None, "garbage caches: the program runs")
    s.screenshot(name="garbage_caches")
    s.key("q")
    check(s.wait_exit() == 0, "garbage caches: exit status")
    check(s.read("autosave") == SAVED, "garbage caches: saved")
    check(not s.sanitizer_reports(), "garbage caches: sanitizer reports")

    # A cache file that is a folder is skipped like a missing one.
    shutil.rmtree(s.path("tmp"))
    os.makedirs(s.path("tmp", "font.digit_font.32"))
    starts_and_ends(s, "a cache is a folder")


run([broken_assets, cache_faults])

"""Missing or broken assets, or no OpenGL 3.3, at start: a clear message,
exit 1, the save untouched."""

import os
import shutil

from harness import autosave_bytes, check, run

SAVED = autosave_bytes("123" + "." * 78)


def fails_cleanly(s, what, names):
    s.start(expect_window=False)
    status = s.wait_exit()
    message = s.stderr()
    check(status == 1, "%s: exit status %d" % (what, status))
    check(names in message, "%s: message %r does not name %s" % (what, message, names))
    check(s.read("autosave") == SAVED, "%s: autosave changed" % what)


def start_failures(s):
    s.write(SAVED, "autosave")
    cases = [
        ("missing title font", "fonts/PoetsenOne-Regular.ttf", None),
        ("missing digit font", "fonts/arialbd.ttf", None),
        ("garbage digit font", "fonts/arialbd.ttf", b"not a font at all" * 10),
        ("missing vertex shader", "shaders_desktop/vertex.c", None),
        ("broken fragment shader", "shaders_desktop/fragment.c", b"#version 330 core\nvoid"),
        ("missing image", "images/rounded_rect.png", None),
        ("garbage image", "images/rounded_rect.png", b"\x89PNG\r\n\x1a\nbroken"),
    ]
    for what, name, replacement in cases:
        path = s.path(name)
        shutil.copy(path, path + ".good")
        shutil.rmtree(s.path("tmp"), ignore_errors=True)
        if replacement is None:
            os.remove(path)
        else:
            with open(path, "wb") as f:
                f.write(replacement)
        fails_cleanly(s, what, os.path.basename(name))
        os.replace(path + ".good", path)
        if name.startswith("fonts/"):
            check(not os.path.exists(s.path("tmp", "font.digit_font.32")),
                  "%s: a cache was written for it" % what)

    # A driver that offers OpenGL 3.0 only: the message says what to install.
    s.env["MESA_GL_VERSION_OVERRIDE"] = "3.0"
    fails_cleanly(s, "OpenGL 3.0 only", "graphics driver with OpenGL 3.3")
    check("from its maker" in s.stderr(), "the message says where drivers come from")
    check("Compatibility Pack" not in s.stderr(), "Windows' advice on Linux")
    del s.env["MESA_GL_VERSION_OVERRIDE"]

    # With everything back the program starts and keeps the save.
    s.start()
    s.key("q")
    check(s.wait_exit() == 0, "exit status once repaired")
    check(s.read("autosave") == SAVED, "autosave after a normal run")


run([start_failures])

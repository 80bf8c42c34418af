"""The Windows build under wine: the zip unpacked to a temporary folder and
started from another folder, driven like the Linux program, and its first
screen compared pixel by pixel with the Linux build's. The end of the Windows
session saves the givens. The unpacked folder is
named in CJK letters, then renamed to Polish ones that wine's code page 1252
lacks, and the program has to find its files in both. Then it starts again
with Windows set to 200 %, where it opens at double pixel density.

The resources of the packed exe (icon, version information, manifest) are
read back with binutils' windres, with or without wine. The run under wine is
skipped only when wine is neither installed nor installable.
"""

import glob
import os
import re
import shutil
import subprocess
import tempfile
import time
import xml.etree.ElementTree as ElementTree
import zipfile

from harness import (BACKGROUND, CLEAR, HARD, INK, REPO, STARTUP_TIMEOUT, WineSession,
                     autosave_bytes, build_package, cell_centre, check, near, palette_centre, run,
                     shows_digit, wait_until)

ZIP = os.path.join(REPO, "build-windows", "tessarin-windows-x64.zip")

PANEL_TINT = (230, 210, 169)  # ink at 32/255 over the background


def wine_available():
    if shutil.which("wine"):
        return True
    subprocess.run([os.path.join(REPO, "scripts", "install-deps")])
    return shutil.which("wine") is not None


def check_first_screen(shot, scale=1):
    check((shot.width, shot.height) == (540 * scale, 960 * scale),
          "window is %dx%d" % (shot.width, shot.height))
    check(near(shot.pixel(5, 5), BACKGROUND, 2), "background %s" % (shot.pixel(5, 5),))
    # Grid lines cross x = 60 and y = 190 inside the first column and row of cells.
    for i in range(10):
        check(near(shot.pixel(60 * scale, (175 + 50 * i) * scale), INK, 2), "row line %d" % i)
        check(near(shot.pixel((45 + 50 * i) * scale, 190 * scale), INK, 2), "column line %d" % i)
    cx, cy = palette_centre(1, scale)
    check(near(shot.pixel(cx, cy - 25 * scale), PANEL_TINT, 4),
          "palette panel tint %s" % (shot.pixel(cx, cy - 25 * scale),))
    title = shot.count(0, 50 * scale, 540 * scale, 120 * scale, lambda p: near(p, INK, 30))
    check(title > 800 * scale * scale, "title ink pixels: %d" % title)


def font_cache(session):
    folder = session.path("tmp")
    check(os.path.isdir(folder), "no tmp/ beside the executable")
    return {name: session.read("tmp", name) for name in sorted(os.listdir(folder))}


def message_box(wine):
    return wine.find_named_window("^Tessarin$")


def no_opengl_33(wine):
    """A driver with OpenGL 3.0 only: a message box in front that says what to
    install, dismissed with Enter, then exit status 1 and the save untouched."""
    saved = wine.read("autosave")
    wine.env["MESA_GL_VERSION_OVERRIDE"] = "3.0"
    wine.start(expect_window=False)
    box = wait_until(lambda: message_box(wine), STARTUP_TIMEOUT, "the message box")
    subprocess.run(["import", "-window", "root", os.path.join(wine.shots, "no_opengl_33.png")],
                   env=wine.env, check=True)
    subprocess.run(["xdotool", "mousemove", "--window", box, "5", "5", "key", "Return"],
                   env=wine.env, check=True)
    check(wine.wait_exit() == 1, "exit status %d" % wine.program.returncode)
    message = wine.stderr()
    for words in ("graphics driver with OpenGL 3.3", "from its maker",
                  '"OpenCL and OpenGL Compatibility Pack"'):
        check(words in message, "the message %r lacks %r" % (message, words))
    check(wine.read("autosave") == saved, "autosave changed")
    del wine.env["MESA_GL_VERSION_OVERRIDE"]


def x_property(wine, window, name):
    return subprocess.run(["xprop", "-id", window, name], env=wine.env, capture_output=True,
                          text=True).stdout


def box_owned_by_game_window(wine):
    """A font that goes missing fails after the window is up: the message box
    belongs to the game window, which shows the exe's icon."""
    os.rename(wine.path("fonts", "arialbd.ttf"), wine.path("fonts", "away.ttf"))
    shutil.rmtree(wine.path("tmp"))
    wine.start(expect_window=False)
    box = wait_until(lambda: message_box(wine), STARTUP_TIMEOUT, "the message box")
    game = subprocess.run(["xdotool", "search", "--name", "^game"], env=wine.env,
                          capture_output=True, text=True).stdout.split()
    check(len(game) == 1, "game windows: %s" % game)
    owner = x_property(wine, box, "WM_TRANSIENT_FOR").split()[-1]
    check(int(owner, 16) == int(game[0]), "the box belongs to %s, not %s" % (owner, game[0]))
    check("Icon (32 x 32)" in x_property(wine, game[0], "_NET_WM_ICON"), "no window icon")
    subprocess.run(["xdotool", "mousemove", "--window", box, "5", "5", "key", "Return"],
                   env=wine.env, check=True)
    check(wine.wait_exit() == 1, "exit status %d" % wine.program.returncode)
    check("arialbd.ttf" in wine.stderr(), "message %r" % wine.stderr())
    os.rename(wine.path("fonts", "away.ttf"), wine.path("fonts", "arialbd.ttf"))


def save_while_held(wine, new):
    """Another program holds "autosave" open without sharing when the program
    saves at exit: the rename is tried again for about 200 ms. Held for 2 s,
    the save gives up there and goes to the user's data folder, leaving the
    file beside the exe whole; let go after 150 ms, the save lands beside the
    exe. The first run enters a given, saved a second later before the hold."""
    helper = os.path.join(wine.elsewhere, "hold_file.exe")
    subprocess.run(["x86_64-w64-mingw32-gcc", "-O2", "-o", helper,
                    os.path.join(os.path.dirname(os.path.abspath(__file__)), "hold_file.c")],
                   check=True)
    data = os.path.join(wine.env["WINEPREFIX"], "drive_c", "users", "*", "AppData", "Local",
                        "Tessarin", "autosave")
    for hold_ms in (2000, 150):
        # A program started while wine's server shuts down after the last
        # one waits about 10 s for it: let it end first.
        subprocess.run(["wineserver", "-w"], env=wine.env, check=True)
        wine.start()
        if hold_ms == 2000:
            wine.click(*palette_centre(7))
            wine.click(*cell_centre(41))
            wait_until(lambda: wine.read("autosave") == new, 10, "the save after the change")
        published = os.stat(wine.path("autosave")).st_mtime_ns
        hold = subprocess.Popen(["wine", helper, "Z:" + wine.path("autosave").replace("/", "\\"),
                                 str(hold_ms)], cwd=wine.elsewhere, env=wine.env,
                                stdout=subprocess.PIPE, text=True)
        try:
            check(hold.stdout.readline().strip() == "held", "the helper holds the save")
            wine.key("q")
            check(wine.wait_exit() == 0, "exit status with the save held %d ms" % hold_ms)
        finally:
            hold.wait()
        check(wine.read("autosave") == new, "held %d ms: autosave %s"
              % (hold_ms, wine.read("autosave").hex()))
        landed = os.stat(wine.path("autosave")).st_mtime_ns != published
        check(landed == (hold_ms == 150), "held %d ms: saved beside the exe: %s"
              % (hold_ms, landed))
        with open(glob.glob(data)[0], "rb") as f:
            check(f.read() == new, "held %d ms: the save in the data folder" % hold_ms)
        left = [name for name in os.listdir(wine.run_dir) if name.endswith(".tmp")]
        check(not left, "held %d ms: temporary files left: %s" % (hold_ms, left))


def run_windows(zip_path, shots):
    """Drives the unpacked Windows build; returns its first screen and font cache."""
    unpacked = tempfile.mkdtemp(prefix="tessarin-zip-")
    try:
        subprocess.run(["unzip", "-q", zip_path, "-d", unpacked], check=True)
        started = time.monotonic()
        wine = WineSession(os.path.join(unpacked, "tessarin"), "windows_smoke")
        print("wine prefix ready in %.1f s" % (time.monotonic() - started))
        wine.shots = shots
        # C.UTF-8 gives wine the ANSI code page 1252.
        wine.env["LC_ALL"] = "C.UTF-8"
        try:
            wine.rename_run_folder("数独 テスト")
            wine.start()
            first = wine.screenshot(name="windows_first_screen")
            check_first_screen(first)

            # The Windows clipboard through wine's bridge to X's: nine lines
            # with Windows line ends pasted, the board copied, then cleared.
            wine.set_clipboard("".join(HARD[r:r + 9] + "\r\n" for r in range(0, 81, 9)))
            wine.key("ctrl+v")
            check(shows_digit(wine.screenshot(name="windows_pasted"), 0), "the pasted puzzle")
            wine.key("ctrl+c")
            wait_until(lambda: wine.clipboard() == HARD, 10, "the board on the clipboard")
            wine.click(*CLEAR)

            wine.click(*palette_centre(5))
            wine.click(*cell_centre(40))
            shot = wine.screenshot(name="windows_given")
            check(shows_digit(shot, 40) and not shows_digit(shot, 0), "the given 5 alone")
            # A second start on the same save brings the first one forward and
            # ends; with a file, it hands it over (the board's own puzzle here),
            # which the line under the palette then names.
            with open(os.path.join(wine.elsewhere, "one.sdk"), "w") as f:
                f.write("." * 40 + "5" + "." * 40 + "\n")
            for extra in ([], ["one.sdk"]):
                second = subprocess.run(wine.command + extra, cwd=wine.elsewhere, env=wine.env,
                                        timeout=60, stderr=subprocess.PIPE, text=True)
                check(second.returncode == 0, "second copy: status %d, %s"
                      % (second.returncode, second.stderr))
            os.remove(os.path.join(wine.elsewhere, "one.sdk"))
            wait_until(lambda: wine.screenshot(keep=False).count(
                170, 858, 370, 882, lambda p: near(p, INK, 60)) > 20, 10, "the handed file named")

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

            wine.rename_run_folder("Łódź Gdańsk")
            wine.start()
            check(shows_digit(wine.screenshot(name="windows_polish_folder"), 40),
                  "the saved given not shown")
            wine.click(*palette_centre(7))
            wine.click(*cell_centre(0))
            check(shows_digit(wine.screenshot(keep=False), 0), "the given 7 not shown")
            # A logoff: the process may be gone as soon as WM_ENDSESSION returns.
            wine.wine("wineboot", "--end-session")
            check(wine.wait_exit() == 0, "exit status %d" % wine.program.returncode)
            check(wine.read("autosave") == autosave_bytes("7" + "." * 39 + "5" + "." * 40),
                  "autosave in the Polish folder at the end of the session")
            check(font_cache(wine) == cache, "font cache in the Polish folder")
            check(os.listdir(wine.elsewhere) == [], "files left in the starting folder")
            save_while_held(wine, autosave_bytes("7" + "." * 39 + "57" + "." * 39))

            # Windows at 200 % (192 dots per inch): double pixel density.
            wine.set_log_pixels(192)
            wine.scale = 2
            wine.start()
            check_first_screen(wine.screenshot(name="windows_double_density"), scale=2)
            wine.key("q")
            check(wine.wait_exit() == 0, "exit status %d" % wine.program.returncode)
            dense = sorted(set(font_cache(wine)) - set(cache))
            # The line's own font is baked only where a run shows the line.
            program = sorted(name + "@2x" for name in cache if ".status_font." not in name)
            check(sorted(n for n in dense if ".status_font." not in n) == program,
                  "new caches %s" % dense)

            no_opengl_33(wine)
            box_owned_by_game_window(wine)

            # At 150 % the window is one and a half times the size, where it fits.
            wine.set_log_pixels(144)
            wine.scale = 1.5
            wine.start()
            shot = wine.screenshot(name="windows_150")
            check((shot.width, shot.height) == (810, 1440), "window is %dx%d" % (shot.width,
                                                                                 shot.height))
            wine.key("q")
            check(wine.wait_exit() == 0, "exit status %d" % wine.program.returncode)
        finally:
            wine.close()
        small_screen(os.path.join(unpacked, "tessarin"), shots)
        return first, cache
    finally:
        shutil.rmtree(unpacked, ignore_errors=True)


def small_screen(run_dir, shots):
    """On a 1366 x 768 screen the window shrinks: its client area lies inside
    the screen, and the layout down to the X button's bottom inside that."""
    wine = WineSession(run_dir, "windows_smoke", screen=(1366, 768))
    wine.shots = shots
    try:
        wine.start(expect_window=False)
        wine.window = wait_until(wine.find_window, STARTUP_TIMEOUT, "the window")

        def scaled_geometry():
            # wine may show the child window at its first size for a moment.
            x, y, width, height = wine.window_geometry()
            return (x, y, width, height) if width == -(-540 * height // 960) else None

        x, y, width, height = wait_until(scaled_geometry, STARTUP_TIMEOUT, "the window at scale")
        wine.scale = height / 960
        print("1366x768 under wine: scale %.5f, client area %dx%d at (%d, %d)"
              % (wine.scale, width, height, x, y))
        check(wine.scale < 0.8 and min(x, y) >= 0 and x + width <= 1366 and y + height <= 768,
              "the client area leaves the screen")
        wait_until(wine.game_screen_shown, STARTUP_TIMEOUT, "the game screen")
        shot = wine.screenshot(name="windows_1366x768")
        check(near(shot.pixel(400 * wine.scale, 832 * wine.scale), PANEL_TINT, 6)
              and near(shot.pixel(400 * wine.scale, 839 * wine.scale), BACKGROUND, 3),
              "the bottom of the X button")
    finally:
        wine.close()


def resource_block(rc, header):
    """The lines between BEGIN and END after a header line of windres' output."""
    lines = rc[rc.index(header):].splitlines()
    return lines[lines.index("BEGIN") + 1:lines.index("END")]


def check_resources(rc):
    icons = resource_block(rc, '"GLFW_ICON" 14 /* RT_GROUP_ICON */')
    # Each element starts with its width as an octal escape: "\020\020\000\000".
    sizes = [int(re.search(r'"\\(\d{3})', line).group(1), 8)
             for line in icons if "Element no" in line]
    check(sorted(sizes) == [0, 16, 20, 24, 32, 40, 48, 64, 128],
          "icon sizes %s (0 means 256)" % sizes)

    with open(os.path.join(REPO, "CMakeLists.txt")) as f:
        version = re.search(r"project\(tessarin VERSION ([\d.]+)", f.read()).group(1)
    strings = dict(re.findall(r'VALUE "(\w+)", "([^"]*)"', rc))
    expected = {"FileDescription": "Tessarin Sudoku solver", "ProductName": "Tessarin",
                "FileVersion": version, "ProductVersion": version,
                "OriginalFilename": "tessarin.exe"}
    for name, value in expected.items():
        check(strings.get(name) == value, "%s is %r" % (name, strings.get(name)))
    check("Tessarin" in strings.get("LegalCopyright", ""), "LegalCopyright %r"
          % strings.get("LegalCopyright"))
    check(" FILEVERSION %s, 0" % version.replace(".", ", ") in rc, "numeric FILEVERSION")

    manifest = "".join(line.strip()[1:-1].replace('""', '"').replace("\\n", "\n")
                       for line in resource_block(rc, "1 24 /* RT_MANIFEST */"))
    root = ElementTree.fromstring(manifest)
    found = {element.tag.split("}")[1]: element for element in root.iter()}
    check(found["supportedOS"].get("Id") == "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
          "supportedOS is not Windows 10/11")
    check(found["dpiAwareness"].text == "PerMonitorV2", "dpiAwareness")
    check(found["dpiAware"].text == "true/pm", "dpiAware")
    check(found["activeCodePage"].text == "UTF-8", "activeCodePage")
    check(found["requestedExecutionLevel"].get("level") == "asInvoker", "requestedExecutionLevel")


def windows_build(linux):
    """Builds the zip and reads the resources back from the stripped exe in it."""
    build_package("build-windows")
    exe = os.path.join(linux.work, "tessarin.exe")
    with zipfile.ZipFile(ZIP) as packed, open(exe, "wb") as f:
        f.write(packed.read("tessarin/tessarin.exe"))
    rc = subprocess.run(["x86_64-w64-mingw32-windres", "-i", exe, "-O", "rc"], check=True,
                        capture_output=True, text=True).stdout
    with open(os.path.join(linux.shots, "resources.rc"), "w") as f:
        f.write(rc)
    check_resources(rc)


def windows_smoke(linux):
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
    # The line's own font is baked only where a run showed the line (a notice).
    program = lambda cache: sorted(n for n in cache if ".status_font." not in n)
    check(program(windows_cache) == program(linux_cache),
          "font cache files %s on Windows, %s on Linux" % (sorted(windows_cache),
                                                            sorted(linux_cache)))
    same = [name for name in linux_cache if windows_cache[name] == linux_cache[name]]
    print("font cache files identical on both: %d of %d" % (len(same), len(linux_cache)))
    check(differing == 0, "%d pixels differ" % differing)


if __name__ == "__main__":
    tests = [windows_build]
    if wine_available():
        tests.append(windows_smoke)
    else:
        print("skipped: the run under wine; wine is not installed and could not be installed")
    run(tests)

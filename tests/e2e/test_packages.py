"""The packages as a user gets them, built here: the Windows installer under
wine, the Debian package installed with dpkg (so run as root) and started by
an unprivileged user, the Linux archive with the system's GLFW out of reach."""

import glob
import os
import re
import shlex
import subprocess
import tarfile

from harness import (REPO, WineSession, autosave_bytes, build_package, cell_centre, check,
                     palette_centre, run, shows_digit)
from test_windows_smoke import check_first_screen

with open(os.path.join(REPO, "CMakeLists.txt")) as f:
    VERSION = re.search(r"project\(tessarin VERSION ([\d.]+)", f.read()).group(1)
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessarin"
CLASSES = r"HKCU\Software\Classes"
PROGID = "Tessarin.Puzzle"
PUZZLE_TYPES = {"sdk": "application/x-sudoku-sdk", "sdm": "application/x-sudoku-sdm"}
GIVEN = autosave_bytes("." * 40 + "5" + "." * 40)


NOTICES = {"tessarin.txt": "Copyright (C) 2026 the Tessarin developers",
           "fonts-comfortaa.txt": "SIL OPEN FONT LICENSE Version 1.1",
           "fonts-liberation.txt": "GNU General Public License v.2",
           "GPL-2.txt": "Version 2, June 1991", "libglfw3.txt": "This software is provided 'as-is'",
           "libgif-dev.txt": "Eric S. Raymond"}


def check_licences(folder, more={}):
    for name, words in dict(NOTICES, **more).items():
        with open(os.path.join(folder, name), errors="replace") as f:
            check(words in f.read(), "%s lacks %r" % (name, words))


def check_resources(exe):
    """The program's icon (nine sizes) and the version information."""
    rc = subprocess.run(["x86_64-w64-mingw32-windres", "-i", exe, "-O", "rc"], check=True,
                        capture_output=True, text=True).stdout
    check(rc.count("/* RT_ICON */") == 9 and 'VALUE "ProductVersion", "%s"' % VERSION in rc,
          "the icon and version of %s" % exe)


def enter_given_and_quit(s):
    check_first_screen(s.screenshot(name="%s_first_screen" % os.path.basename(s.shots)))
    s.click(*palette_centre(5))
    s.click(*cell_centre(40))
    s.key("q")
    check(s.wait_exit() == 0, "exit status %d" % s.program.returncode)


def windows_installer(linux):
    build_package("build-windows")
    setup = os.path.join(REPO, "build-windows", "tessarin-%s-setup-x64.exe" % VERSION)
    subprocess.run(["unzip", "-q", os.path.join(REPO, "build-windows", "tessarin-windows-x64.zip"),
                    "-d", os.path.join(linux.work, "zip")], check=True)
    check_licences(os.path.join(linux.work, "zip", "tessarin", "licences"),
                   {"mingw-w64-x86-64-dev.txt": "winpthreads"})
    wine = WineSession(linux.source_run_dir, "installer")
    try:
        def install(*arguments):
            wine.wine(*arguments)
            subprocess.run(["wineserver", "-w"], env=wine.env, check=True)

        def registry(key=UNINSTALL_KEY):
            """The key's values by name, or None when there is no such key."""
            out = subprocess.run(["wine", "reg", "query", key], env=wine.env,
                                 capture_output=True, text=True)
            if out.returncode != 0:
                return None
            return dict((m[0], m[2]) for m in re.findall(r"^\s+(\S+)\s+(REG_\w+)\s*(.*?)\s*$",
                                                          out.stdout, re.M))

        # Another program's claim on .sdm, which the installer has to leave alone.
        sdm, sdm_with = CLASSES + r"\.sdm", CLASSES + r"\.sdm\OpenWithProgids"
        wine.wine("reg", "add", sdm, "/ve", "/d", "Other.Puzzle", "/f")
        wine.wine("reg", "add", sdm_with, "/v", "Other.Puzzle", "/t", "REG_NONE", "/f")
        other = {sdm: registry(sdm), sdm_with: registry(sdm_with)}
        check(other[sdm] == {"(Default)": "Other.Puzzle"} and "Other.Puzzle" in other[sdm_with],
              "the other program's .sdm: %s" % other)
        install(setup, "/S")
        users = os.path.join(wine.env["WINEPREFIX"], "drive_c", "users")
        folder = glob.glob(os.path.join(users, "*", "AppData", "Local", "Programs", "Tessarin"))
        check(len(folder) == 1, "installed into %s" % folder)
        wine.run_dir = folder[0]
        wine.command = ["wine", wine.path("tessarin.exe")]
        shortcut = glob.glob(os.path.join(users, "*", "AppData", "Roaming", "Microsoft", "Windows",
                                          "Start Menu", "Programs", "Tessarin.lnk"))
        check(len(shortcut) == 1, "no Start-menu shortcut")
        values = registry()
        print("Uninstall key: %s" % values)
        location = values.get("InstallLocation", "")
        check(location.endswith(r"\AppData\Local\Programs\Tessarin"), "InstallLocation")
        expected = {"DisplayName": "Tessarin", "DisplayVersion": VERSION,
                    "Publisher": "the Tessarin developers", "NoModify": "0x1", "NoRepair": "0x1",
                    "DisplayIcon": location + r"\tessarin.exe,0",
                    "UninstallString": '"%s\\uninstall.exe"' % location,
                    "QuietUninstallString": '"%s\\uninstall.exe" /S' % location}
        for name, value in expected.items():
            check(values.get(name) == value, "%s is %r" % (name, values.get(name)))
        check(int(values["EstimatedSize"], 16) > 500, "EstimatedSize %s" % values)
        progid = CLASSES + "\\" + PROGID
        associations = {
            progid: {"(Default)": "Sudoku puzzle"},
            progid + r"\DefaultIcon": {"(Default)": location + r"\tessarin.exe,0"},
            progid + r"\shell\open\command": {"(Default)": '"%s\\tessarin.exe" "%%1"' % location},
            CLASSES + r"\.sdk": {},
            CLASSES + r"\.sdk\OpenWithProgids": {PROGID: ""},
            sdm: other[sdm],
            sdm_with: dict(other[sdm_with], **{PROGID: ""})}
        for key, wanted in associations.items():
            check(registry(key) == wanted, "%s holds %s" % (key, registry(key)))
        check_licences(wine.path("licences"))
        for exe in (setup, wine.path("uninstall.exe")):
            check_resources(exe)

        wine.start()
        enter_given_and_quit(wine)
        check(wine.read("autosave") == GIVEN, "autosave %s" % wine.read("autosave").hex())
        install(setup, "/S")
        check(wine.read("autosave") == GIVEN and os.path.exists(wine.path("tessarin.exe")),
              "installing again lost the save or the program")

        install(wine.path("uninstall.exe"), "/S")
        left = os.listdir(wine.run_dir)
        check(sorted(left) == ["autosave", "session"] and wine.read("autosave") == GIVEN,
              "left: %s" % left)
        check(not os.path.exists(shortcut[0]) and registry() is None, "shortcut or key left")
        # Only what the installer added is gone: the other program keeps .sdm.
        types_left = {key: registry(key) for key in associations}
        check(types_left == dict({key: None for key in associations}, **other),
              "file types left: %s" % types_left)
    finally:
        wine.close()


MIME_PACKAGE = "/usr/share/mime/packages/org.tessarin.Tessarin.xml"


def check_puzzle_types(installed):
    """What dpkg's triggers made of the package's MIME types and desktop entry:
    the shared MIME database maps each extension to its type, and the cache
    that file managers read for "Open with" names the entry for both types."""
    with open("/usr/share/mime/globs2") as f:
        # weight:type:glob[:flags]
        globs = {tuple(line.rstrip("\n").split(":")[1:3]) for line in f if line[0] != "#"}
    handlers = {}
    if installed or os.path.exists("/usr/share/applications/mimeinfo.cache"):
        with open("/usr/share/applications/mimeinfo.cache") as f:
            handlers = dict(line.strip().split("=", 1) for line in f if "=" in line)
    for extension, mime_type in PUZZLE_TYPES.items():
        check(((mime_type, "*." + extension) in globs) == installed,
              "*.%s as %s listed in the MIME database: %s" % (extension, mime_type, not installed))
        listed = "org.tessarin.Tessarin.desktop" in handlers.get(mime_type, "").split(";")
        check(listed == installed, "%s opened by %s" % (mime_type, handlers.get(mime_type)))


def debian_package(linux):
    build_package("package-linux")
    deb = os.path.join(REPO, "build-linux", "tessarin_%s_amd64.deb" % VERSION)
    lint = subprocess.run(["lintian", deb], capture_output=True, text=True)
    print("lintian: %s" % (lint.stdout.strip() or "nothing to report"))
    check(not re.search(r"^E: ", lint.stdout, re.M), "lintian reports errors")
    listing = subprocess.run(["dpkg-deb", "-c", deb], check=True, capture_output=True,
                             text=True).stdout
    files = [line.split()[5][1:] for line in listing.splitlines() if line[0] != "d"]
    # A home of its own for the user nobody, in the session's folder.
    os.chmod(linux.work, 0o711)
    home = os.path.join(linux.work, "home")
    os.mkdir(home)
    try:
        subprocess.run(["dpkg", "-i", deb], check=True, stdout=subprocess.DEVNULL)
        with open("/usr/share/applications/org.tessarin.Tessarin.desktop") as f:
            entry = f.read()
        exec_line = re.search(r"^Exec=(.*)$", entry, re.M).group(1)
        mime_types = re.search(r"^MimeType=(.*)$", entry, re.M).group(1).split(";")
        check("%f" in shlex.split(exec_line) and set(PUZZLE_TYPES.values()) <= set(mime_types),
              "the entry opens %s with %r" % (mime_types, exec_line))
        check(MIME_PACKAGE in files and os.path.exists(MIME_PACKAGE), "no %s" % MIME_PACKAGE)
        check_puzzle_types(True)
        os.chown(home, 65534, 65534)
        linux.env.update(HOME=home, PATH="/usr/local/bin:/usr/bin:/bin:/usr/games")
        linux.env.pop("XDG_DATA_HOME", None)
        # Started from the menu, with no file: the launcher drops the field code.
        linux.command = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"] + \
            [word for word in shlex.split(exec_line) if not re.fullmatch("%[a-zA-Z]", word)]
        linux.start()
        enter_given_and_quit(linux)
        with open(os.path.join(home, ".local", "share", "tessarin", "autosave"), "rb") as f:
            check(f.read() == GIVEN, "the save in the user's data folder")
        linux.start()
        check(shows_digit(linux.screenshot(name="deb_read_back"), 40), "the given not read back")
        linux.key("q")
        check(linux.wait_exit() == 0, "exit status %d" % linux.program.returncode)
    finally:
        subprocess.run(["dpkg", "-r", "tessarin"], stdout=subprocess.DEVNULL)
    left = [path for path in files if os.path.lexists(path)]
    known = subprocess.run(["dpkg", "-s", "tessarin"], capture_output=True).returncode == 0
    check(not left and not os.path.exists("/usr/lib/tessarin") and not known,
          "left behind: %s, still known to dpkg: %s" % (left, known))
    check_puzzle_types(False)


def linux_archive(linux):
    with tarfile.open(os.path.join(REPO, "build-linux", "tessarin-linux-x64.tar.gz")) as packed:
        packed.extractall(os.path.join(linux.work, "archive"))
    linux.run_dir = os.path.join(linux.work, "archive", "tessarin")
    dynamic = subprocess.run(["readelf", "-d", linux.path("tessarin")], check=True,
                             capture_output=True, text=True).stdout
    needed = re.findall(r"\(NEEDED\).*\[(.*)\]", dynamic)
    print("the archive's program needs %s" % needed)
    check(set(needed) <= {"libc.so.6", "libm.so.6", "libX11.so.6"}, "needs %s" % needed)
    check_licences(linux.path("licences"))

    # The system's GLFW covered by an empty file in a mount namespace of the
    # program's own, where the build that links it cannot start.
    glfw = os.path.realpath("/usr/lib/x86_64-linux-gnu/libglfw.so.3")
    hide = ["unshare", "-m", "sh", "-c", 'mount --bind /dev/null %s && exec "$@"' % glfw, "-"]
    linked = subprocess.run(hide + [os.path.join(linux.source_run_dir, "tessarin")],
                            capture_output=True, text=True)
    check(linked.returncode == 127 and "libglfw.so.3" in linked.stderr,
          "GLFW not hidden: %s" % linked.stderr)
    linux.command = hide + [linux.path("tessarin")]
    linux.start()
    enter_given_and_quit(linux)
    check(linux.read("autosave") == GIVEN, "the archive's save")


run([windows_installer, debian_package, linux_archive])

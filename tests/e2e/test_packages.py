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
GIVEN = autosave_bytes("." * 40 + "5" + "." * 40)


NOTICES = {"tessarin.txt": "Copyright (C) 2026 the Tessarin developers",
           "fonts-comfortaa.txt": "SIL OPEN FONT LICENSE Version 1.1",
           "fonts-liberation.txt": "GNU General Public License v.2",
           "GPL-2.txt": "Version 2, June 1991", "libglfw3.txt": "This software is provided 'as-is'"}


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

        def registry():
            out = subprocess.run(["wine", "reg", "query", UNINSTALL_KEY], env=wine.env,
                                 capture_output=True, text=True).stdout
            return dict((m[0], m[2]) for m in re.findall(r"^\s+(\w+)\s+(REG_\w+)\s+(.*?)\s*$",
                                                          out, re.M))

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
        check(left == ["autosave"] and wine.read("autosave") == GIVEN, "left: %s" % left)
        check(not os.path.exists(shortcut[0]) and registry() == {}, "shortcut or key left")
    finally:
        wine.close()


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
            exec_line = re.search(r"^Exec=(.*)$", f.read(), re.M).group(1)
        os.chown(home, 65534, 65534)
        linux.env.update(HOME=home, PATH="/usr/local/bin:/usr/bin:/bin:/usr/games")
        linux.env.pop("XDG_DATA_HOME", None)
        linux.command = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"] + \
            shlex.split(exec_line)
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

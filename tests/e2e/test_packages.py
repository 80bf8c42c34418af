"""The packages as a user gets them: the Windows installer under wine, the
Debian package installed with dpkg and started through its menu entry by an
unprivileged user, and the Linux archive with the system's GLFW out of reach.
Each holds the licences of what it ships. The packages are built here, so the
test runs as root (dpkg) on a machine where installing them is harmless."""

import glob
import io
import os
import re
import shlex
import shutil
import subprocess
import tarfile
import tempfile

from harness import (Session, WineSession, autosave_bytes, cell_centre, check, palette_centre,
                     run, shows_digit)
from test_windows_smoke import check_first_screen

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
with open(os.path.join(REPO, "CMakeLists.txt")) as f:
    VERSION = re.search(r"project\(tessarin VERSION ([\d.]+)", f.read()).group(1)
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessarin"
GIVEN = autosave_bytes("." * 40 + "5" + "." * 40)


def build(script):
    built = subprocess.run([os.path.join(REPO, "scripts", script)], stdout=subprocess.PIPE,
                           stderr=subprocess.STDOUT, text=True)
    check(built.returncode == 0, "scripts/%s failed:\n%s" % (script, built.stdout[-3000:]))


def check_licences(folder):
    texts = {name: open(os.path.join(folder, name), errors="replace").read()
             for name in os.listdir(folder)}
    check("Copyright (C) 2026 the Tessarin developers" in texts["tessarin.txt"], "own line")
    check("SIL OPEN FONT LICENSE Version 1.1" in texts["fonts-comfortaa.txt"], "Comfortaa's")
    check("GNU General Public License v.2" in texts["fonts-liberation.txt"], "Liberation's")
    check("Version 2, June 1991" in texts["GPL-2.txt"], "the GPL's text")
    check("Camilla" in texts["libglfw3.txt"] and "This software is provided 'as-is'"
          in texts["libglfw3.txt"], "GLFW's notice")


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
    build("build-windows")
    setup = os.path.join(REPO, "build-windows", "tessarin-%s-setup-x64.exe" % VERSION)
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
        check(int(values["EstimatedSize"], 16) > 500, "EstimatedSize %s KiB"
              % values["EstimatedSize"])
        check_licences(wine.path("licences"))
        check_resources(setup)
        check_resources(wine.path("uninstall.exe"))

        wine.start()
        enter_given_and_quit(wine)
        check(wine.read("autosave") == GIVEN, "autosave %s" % wine.read("autosave").hex())
        install(setup, "/S")
        check(wine.read("autosave") == GIVEN, "installing again lost the save")
        check(os.path.exists(wine.path("tessarin.exe")), "no program after installing again")

        install(wine.path("uninstall.exe"), "/S")
        check(sorted(os.listdir(wine.run_dir)) == ["autosave"], "left after uninstalling: %s"
              % sorted(os.listdir(wine.run_dir)))
        check(wine.read("autosave") == GIVEN, "the save changed")
        check(not os.path.exists(shortcut[0]), "the shortcut stays")
        check(registry() == {}, "the Uninstall key stays")
    finally:
        wine.close()


def debian_package(linux):
    build("package-linux")
    deb = os.path.join(REPO, "build-linux", "tessarin_%s_amd64.deb" % VERSION)
    lint = subprocess.run(["lintian", deb], capture_output=True, text=True)
    print("lintian: %s" % (lint.stdout.strip() or "nothing to report"))
    check(not re.search(r"^E: ", lint.stdout, re.M), "lintian reports errors")
    files = subprocess.run(["dpkg-deb", "--fsys-tarfile", deb], check=True,
                           capture_output=True).stdout
    home = tempfile.mkdtemp(prefix="tessarin-home-")
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
        check(not os.path.exists("/usr/lib/tessarin/autosave"), "saved in the run folder")
        linux.start()
        check(shows_digit(linux.screenshot(name="deb_read_back"), 40), "the given not read back")
        linux.key("q")
        check(linux.wait_exit() == 0, "exit status %d" % linux.program.returncode)
    finally:
        subprocess.run(["dpkg", "-r", "tessarin"], stdout=subprocess.DEVNULL)
        shutil.rmtree(home, ignore_errors=True)
    with tarfile.open(fileobj=io.BytesIO(files)) as packed:
        left = [m.name[1:] for m in packed.getmembers() if not m.isdir()
                and os.path.lexists(m.name[1:])]
    check(not left and not os.path.exists("/usr/lib/tessarin"), "left behind: %s" % left)
    check(subprocess.run(["dpkg", "-s", "tessarin"], capture_output=True).returncode != 0,
          "dpkg still knows the package")


def linux_archive(linux):
    unpacked = tempfile.mkdtemp(prefix="tessarin-tar-")
    try:
        with tarfile.open(os.path.join(REPO, "build-linux", "tessarin-linux-x64.tar.gz")) as t:
            t.extractall(unpacked)
        program = os.path.join(unpacked, "tessarin", "tessarin")
        dynamic = subprocess.run(["readelf", "-d", program], check=True, capture_output=True,
                                 text=True).stdout
        needed = re.findall(r"\(NEEDED\).*\[(.*)\]", dynamic)
        print("the archive's program needs %s" % needed)
        check(set(needed) <= {"libc.so.6", "libm.so.6", "libX11.so.6"}, "needs %s" % needed)
        check_licences(os.path.join(unpacked, "tessarin", "licences"))

        # The system's GLFW replaced by an empty file in a mount namespace of
        # the program's own; the build that links it must fail there.
        glfw = os.path.realpath(subprocess.run(
            ["sh", "-c", "ldconfig -p | sed -n 's/.*libglfw.so.3 .*=> //p' | head -1"],
            capture_output=True, text=True).stdout.strip())
        hide = ["unshare", "-m", "sh", "-c", 'mount --bind /dev/null %s && exec "$@"' % glfw, "-"]
        linked = subprocess.run(hide + [os.path.join(linux.source_run_dir, "tessarin")],
                                capture_output=True, text=True)
        check(linked.returncode == 127 and "libglfw.so.3" in linked.stderr,
              "GLFW not hidden: %s" % linked.stderr)
        archive = Session(os.path.join(unpacked, "tessarin"), "archive")
        archive.shots = linux.shots
        try:
            archive.command = hide + [archive.path("tessarin")]
            archive.start()
            enter_given_and_quit(archive)
            check(archive.read("autosave") == GIVEN, "the archive's save")
        finally:
            archive.close()
    finally:
        shutil.rmtree(unpacked, ignore_errors=True)


def zip_licences(linux):
    with tempfile.TemporaryDirectory() as unpacked:
        subprocess.run(["unzip", "-q", os.path.join(REPO, "build-windows",
                                                    "tessarin-windows-x64.zip"), "-d", unpacked],
                       check=True)
        check_licences(os.path.join(unpacked, "tessarin", "licences"))
        notices = open(os.path.join(unpacked, "tessarin", "licences",
                                    "mingw-w64-x86-64-dev.txt")).read()
        check("winpthreads" in notices, "winpthreads' notice")


run([windows_installer, zip_licences, debian_package, linux_archive])

"""An "autosave" that cannot be written: the save goes to the user's data
folder, and with neither folder the user is told; an old save stays as it
was and nothing half-written is left. The givens are saved a second after
they change; a second copy on the same save hands over to the first."""

import os
import pwd
import shutil
import subprocess
import time

from Xlib import X, display as xdisplay

from harness import (autosave_bytes, cell_centre, check, palette_centre, responds, run,
                     shows_digit, wait_until)

OLD = autosave_bytes("123" + "." * 78)
NEW = autosave_bytes("123" + "." * 37 + "7" + "." * 40)
GIVEN = autosave_bytes("." * 40 + "7" + "." * 40)


def temporaries(folder):
    """The save's temporary files: "autosave.<process id>.tmp"."""
    return sorted(name for name in os.listdir(folder)
                  if name.startswith("autosave.") and name.endswith(".tmp"))


def snapshot(folder):
    """Every file and folder below `folder` with its size, time and contents."""
    state = {}
    for root, folders, files in os.walk(folder):
        for name in folders + files:
            path = os.path.join(root, name)
            status = os.stat(path)
            state[os.path.relpath(path, folder)] = (status.st_size, status.st_mtime_ns)
        for name in files:
            with open(os.path.join(root, name), "rb") as f:
                state[os.path.relpath(os.path.join(root, name), folder)] += (f.read(),)
    return state


def enter_a_given(s):
    s.click(*palette_centre(7))
    s.click(*cell_centre(40))
    check(shows_digit(s.screenshot(keep=False), 40), "the new given is drawn")


def user_data(s):
    return os.path.join(s.env["XDG_DATA_HOME"], "tessarin")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def save_target_is_a_folder(s):
    os.mkdir(s.path("autosave"))
    s.start()
    enter_a_given(s)
    s.key("q")
    check(s.wait_exit() == 0, "exit status when the run folder's save cannot be written")
    check(os.path.isdir(s.path("autosave")) and not os.listdir(s.path("autosave")),
          "the folder named autosave is untouched")
    check(not temporaries(s.run_dir), "no temporary file left behind")
    check(read(os.path.join(user_data(s), "autosave")) == GIVEN, "the given in the data folder")
    check(not s.sanitizer_reports(), "sanitizer reports: %s" % s.sanitizer_reports())


def unwritable_folder(s):
    """The run folder belongs to someone else, and so does tmp/, which the
    user cannot even read: the program runs as "nobody" when the tests run as
    root (root reads and writes anywhere), else the folder is made read-only
    and tmp/ unreadable for the user. The givens and the font caches go to
    ~/.local/share/tessarin of a private home, and come back from there."""
    s.write(OLD, "autosave")
    # A first run as the owner leaves the font caches, as a normal install would have.
    s.start()
    s.key("q")
    check(s.wait_exit() == 0, "exit status of the owner's run")
    before = snapshot(s.run_dir)

    home = os.path.join(s.work, "home")
    os.mkdir(home, 0o700)
    s.env["HOME"] = home
    s.env.pop("XDG_DATA_HOME", None)
    if os.geteuid() == 0:
        for folder in (s.work, s.elsewhere):
            os.chmod(folder, 0o755)
        os.chmod(s.path("tmp"), 0o700)
        nobody = pwd.getpwnam("nobody")
        os.chown(home, nobody.pw_uid, nobody.pw_gid)
        s.command = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups",
                     s.path("tessarin")]
    else:
        os.chmod(s.path("tmp"), 0o000)
        os.chmod(s.run_dir, 0o555)
    data = os.path.join(home, ".local", "share", "tessarin")
    try:
        s.start()
        shot = s.screenshot(name="unwritable_folder")
        check(all(shows_digit(shot, i) for i in range(3)), "the old save is shown")
        enter_a_given(s)
        responds(s)
        s.key("q")
        check(s.wait_exit() == 0, "exit status when the folder cannot be written")
        check(sorted(os.listdir(data)) == [".lock", "autosave", "session", "tmp"],
              "the user's data folder holds %s" % sorted(os.listdir(data)))
        with open(os.path.join(data, "autosave"), "rb") as f:
            check(f.read() == NEW, "the givens are saved in the user's data folder")
        caches = sorted(os.listdir(os.path.join(data, "tmp")))
        check(len(caches) == 4 and all(name.startswith("font.") and not name.endswith(".tmp")
                                       for name in caches), "font caches: %s" % caches)

        s.start()
        shot = s.screenshot(name="unwritable_folder_restarted")
        check(all(shows_digit(shot, i) for i in (0, 1, 2, 40)), "the givens are back")
        s.key("q")
        check(s.wait_exit() == 0, "exit status of the second run")
    finally:
        os.chmod(s.run_dir, 0o755)
        os.chmod(s.path("tmp"), 0o755)
    check(s.read("autosave") == OLD, "the old save is intact")
    check(snapshot(s.run_dir) == before, "the run folder changed: %s" % sorted(
        set(snapshot(s.run_dir).items()) ^ set(before.items())))
    check(not s.sanitizer_reports(), "sanitizer reports: %s" % s.sanitizer_reports())


def gdb_kill_at(s, where):
    """Runs the program under gdb, which kills it (SIGKILL) at a point of the
    save that follows a change; `where` holds gdb commands that stop there."""
    commands = ["set breakpoint pending on", "set confirm off",
                'break write_file_replacing if $_streq(path, "autosave")', "run"]
    commands += where + ["kill"]
    s.command = ["gdb", "-q", "-batch", "-nx"]
    for command in commands:
        s.command += ["-ex", command]
    s.command += ["--args", s.path("tessarin")]


def crash_while_saving(s):
    """The save writes a temporary file and renames it over "autosave": a
    crash before the rename leaves the old save whole, and the next run reads
    it and replaces both."""
    check(shutil.which("gdb") is not None, "gdb is installed (scripts/install-deps)")
    s.write(OLD, "autosave")
    s.start()
    s.key("q")
    check(s.wait_exit() == 0, "exit status of the first run")
    original = s.command

    kill_points = [
        # The temporary file is open and empty: nothing written yet.
        ("before the write", ["break fwrite", "continue"], b""),
        # Everything written and closed, the rename not yet done.
        ("before the rename", ['break platform_replace_file if $_streq(to, "autosave")',
                               "continue"], None),
    ]
    for what, where, temporary in kill_points:
        gdb_kill_at(s, where)
        s.start()
        enter_a_given(s)
        # gdb reads the symbols of every library (Mesa's LLVM among them)
        # before it stops there: over a minute on a loaded machine under ASan.
        s.wait_exit(240)
        check(s.read("autosave") == OLD, "%s: the old save is intact" % what)
        left = temporaries(s.run_dir)
        check(len(left) == 1, "%s: temporary files %s" % (what, left))
        expected = NEW if temporary is None else temporary
        check(s.read(left[0]) == expected,
              "%s: the temporary file shows where the kill came (%r)"
              % (what, s.read(left[0])))

        s.command = original
        s.start()
        shot = s.screenshot(name="after_kill_" + what.replace(" ", "_"))
        check(all(shows_digit(shot, i) for i in range(3)) and not shows_digit(shot, 40),
              "%s: the next run shows the old save" % what)
        enter_a_given(s)
        s.key("q")
        check(s.wait_exit() == 0, "%s: exit status of the next run" % what)
        check(s.read("autosave") == NEW, "%s: the next run saves" % what)
        # The killed process's temporary file is never read; the next start
        # sweeps it away, as its process is gone.
        check(temporaries(s.run_dir) == [], "%s: temporary files %s"
              % (what, temporaries(s.run_dir)))
        s.write(OLD, "autosave")
    check(not s.sanitizer_reports(), "sanitizer reports: %s" % s.sanitizer_reports())


def unwritable_mid_run(s):
    """The run folder, then the user's data folder too, remounted read-only
    while the program runs, in a mount namespace of its own: the given lands
    in the data folder; with neither, the title says so, the end says so with
    status 1, and the saves stay as they were."""
    data = user_data(s)
    data_save = os.path.join(data, "autosave")
    os.makedirs(data)
    s.write(OLD, "autosave")
    binds = " && ".join("mount --bind '%s' '%s'" % (f, f) for f in (s.run_dir, data))
    s.command = ["unshare", "-m", "--propagation", "private", "sh", "-c",
                 binds + ' && exec "$0"', s.path("tessarin")]
    s.start()

    def read_only(folder):
        subprocess.run(["nsenter", "-t", str(s.program.pid), "-m", "mount", "-o",
                        "remount,bind,ro", folder], check=True)

    read_only(s.run_dir)
    enter_a_given(s)
    wait_until(lambda: os.path.exists(data_save) and read(data_save) == NEW, 10,
               "the save in the user's data folder")
    read_only(data)
    s.click(*cell_centre(0))
    wait_until(lambda: "the givens could not be saved" in s.title(), 10, "the notice")
    s.key("q")
    check(s.wait_exit() == 1, "exit status when nothing could be saved")
    check("the givens could not be saved" in s.stderr(), "stderr: %s" % s.stderr())
    check(s.read("autosave") == OLD and read(data_save) == NEW, "the saves are untouched")


def one_copy_killed(s):
    """Stale temporary files go at the start: over an hour old, or their
    process gone; a running process's fresh one stays. A second copy on the
    same save ends at once, touches nothing and brings the first copy's window
    to the front. A kill -9 of the first, two seconds after a change, keeps
    the new given."""
    hours_ago = time.time() - 2 * 3600
    os.mkdir(s.path("tmp"))
    for name in ("autosave.99999.tmp", "tmp/font.digit_font.32.99999.tmp"):
        s.write(b"x", name)
        os.utime(s.path(name), (hours_ago, hours_ago))
    live = "autosave.%d.tmp" % os.getpid()
    s.write(b"x", live)
    s.start()
    check(temporaries(s.run_dir) == [live], "temporary files %s" % temporaries(s.run_dir))
    check(not [n for n in os.listdir(s.path("tmp")) if n.endswith(".tmp")], "font temporaries")
    first = s.program
    before = snapshot(s.run_dir)

    conn = xdisplay.Display(s.display)
    conn.set_input_focus(conn.screen().root, X.RevertToParent, X.CurrentTime)
    conn.sync()
    s.start(expect_window=False)
    check(s.wait_exit() == 0, "exit status of the second copy: %s" % s.stderr())
    s.program = first
    wait_until(lambda: conn.get_input_focus().focus.id == int(s.window), 10,
               "the first window in front")
    conn.close()
    check(snapshot(s.run_dir) == before, "the second copy changed the run folder")

    enter_a_given(s)
    time.sleep(2)
    s.program.kill()
    s.program.wait()
    check(s.read("autosave") == GIVEN, "the given is saved")


run([save_target_is_a_folder, unwritable_folder, crash_while_saving, unwritable_mid_run,
     one_copy_killed])

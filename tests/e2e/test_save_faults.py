"""An "autosave" that cannot be written at exit: the program still ends with
status 0, an old save stays as it was and nothing half-written is left."""

import os
import shutil

from harness import autosave_bytes, cell_centre, check, palette_centre, responds, run, shows_digit

OLD = autosave_bytes("123" + "." * 78)


def listing(s):
    return sorted(os.listdir(s.run_dir))


def enter_a_given(s):
    s.click(*palette_centre(7))
    s.click(*cell_centre(40))
    check(shows_digit(s.screenshot(keep=False), 40), "the new given is drawn")


def save_target_is_a_folder(s):
    os.mkdir(s.path("autosave"))
    s.start()
    enter_a_given(s)
    s.key("q")
    check(s.wait_exit() == 0, "exit status when the save cannot be written")
    check(os.path.isdir(s.path("autosave")) and not os.listdir(s.path("autosave")),
          "the folder named autosave is untouched")
    check(not os.path.exists(s.path("autosave.tmp")), "no temporary file left behind")
    check(not s.sanitizer_reports(), "sanitizer reports: %s" % s.sanitizer_reports())


def unwritable_folder(s):
    """The run folder belongs to someone else, and so does tmp/, which the
    user cannot even read: the program runs as "nobody" when the tests run as
    root (root reads and writes anywhere), else the folder is made read-only
    and tmp/ unreadable for the user."""
    s.write(OLD, "autosave")
    # A first run as the owner leaves the font caches, as a normal install would have.
    s.start()
    s.key("q")
    check(s.wait_exit() == 0, "exit status of the owner's run")
    before = listing(s)

    if os.geteuid() == 0:
        for folder in (s.work, s.elsewhere):
            os.chmod(folder, 0o755)
        os.chmod(s.path("tmp"), 0o700)
        s.command = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups",
                     s.path("tessarin")]
    else:
        os.chmod(s.path("tmp"), 0o000)
        os.chmod(s.run_dir, 0o555)
    try:
        s.start()
        shot = s.screenshot(name="unwritable_folder")
        check(all(shows_digit(shot, i) for i in range(3)), "the old save is shown")
        enter_a_given(s)
        responds(s)
        s.key("q")
        check(s.wait_exit() == 0, "exit status when the folder cannot be written")
    finally:
        os.chmod(s.run_dir, 0o755)
        os.chmod(s.path("tmp"), 0o755)
    check(s.read("autosave") == OLD, "the old save is intact")
    check(listing(s) == before, "nothing new in the folder: %s" % listing(s))
    check(not s.sanitizer_reports(), "sanitizer reports: %s" % s.sanitizer_reports())


def gdb_kill_at(s, where):
    """Runs the program under gdb, which kills it (SIGKILL) at a point of the
    final save; `where` holds gdb commands that stop there."""
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
        s.key("q")
        s.wait_exit(60)
        new = autosave_bytes("123" + "." * 37 + "7" + "." * 40)
        check(s.read("autosave") == OLD, "%s: the old save is intact" % what)
        expected = new if temporary is None else temporary
        check(s.read("autosave.tmp") == expected,
              "%s: the temporary file shows where the kill came (%r)"
              % (what, s.read("autosave.tmp")))

        s.command = original
        s.start()
        shot = s.screenshot(name="after_kill_" + what.replace(" ", "_"))
        check(all(shows_digit(shot, i) for i in range(3)) and not shows_digit(shot, 40),
              "%s: the next run shows the old save" % what)
        enter_a_given(s)
        s.key("q")
        check(s.wait_exit() == 0, "%s: exit status of the next run" % what)
        check(s.read("autosave") == new, "%s: the next run saves" % what)
        check(not os.path.exists(s.path("autosave.tmp")), "%s: no temporary file left" % what)
        s.write(OLD, "autosave")
    check(not s.sanitizer_reports(), "sanitizer reports: %s" % s.sanitizer_reports())


run([save_target_is_a_folder, unwritable_folder, crash_while_saving])

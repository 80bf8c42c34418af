"""Givens and font caches survive restarts; Shift+Q, the close request, the
signals of a session's end and a lost display save. The run folder's name
holds Polish and CJK letters."""

import os
import signal
import subprocess

from harness import SOLVE, SOLVER_INK, autosave_bytes, cell_centre, check, digit_pixels, \
    palette_centre, run, shows_digit, wait_until

PUZZLE = "5" + "." * 39 + "3" + "." * 39 + "9"
CACHES = {"tmp/font.loading_font.32", "tmp/font.title_font.64", "tmp/font.digit_font.32",
          "tmp/font.solve_font.36"}


def persistence(s):
    s.rename_run_folder("Łódź 数独")
    s.write(autosave_bytes(PUZZLE), "autosave")
    s.start()
    shot = s.screenshot(name="restored")
    check(all(shows_digit(shot, i) for i in (0, 40, 80)), "saved givens shown")
    check(sum(shows_digit(shot, i) for i in range(81)) == 3, "only the saved givens")
    # A solved board: the solver's digits are never saved.
    s.click(*SOLVE)
    wait_until(lambda: digit_pixels(s.screenshot(keep=False), cell_centre(1), SOLVER_INK) > 20,
               10, "the solved board")
    s.key("shift+q")
    check(s.wait_exit() == 0, "exit status after Shift+Q")
    check(s.read("autosave") == autosave_bytes(PUZZLE), "givens saved again")
    for cache in CACHES:
        check(os.path.getsize(s.path(cache)) == 269748, "%s size" % cache)

    # The caches alone are enough: start without the fonts folder.
    os.rename(s.path("fonts"), s.path("fonts-away"))
    s.start()
    shot = s.screenshot(name="from_cache")
    check(all(shows_digit(shot, i) for i in (0, 40, 80)), "drawn from the font cache")
    s.request_close()
    check(s.wait_exit() == 0, "exit status after the close request")
    check(s.read("autosave") == autosave_bytes(PUZZLE), "givens saved by the close request")
    check(os.listdir(s.elsewhere) == [], "files left in the starting folder")


def end_of_session(s):
    """A logout, a closed terminal and Ctrl+C end the run as Q does, straight
    after a click; the end of the X server still leaves the givens saved."""
    ends = [(signal.SIGTERM, 0), (signal.SIGHUP, 0), (signal.SIGINT, 0), ("display lost", 1)]
    for end, _ in ends[:-1]:
        # As from a terminal: a signal this test's caller ignores would stay ignored.
        signal.signal(end, signal.SIG_DFL)
    for index, (end, status) in enumerate(ends):
        s.start()
        s.click(*palette_centre(index + 1))
        s.click(*cell_centre(index))
        wait_until(lambda: shows_digit(s.screenshot(keep=False), index), 10, "the given")
        if end == "display lost":
            s.xvfb.kill()
        else:
            s.program.send_signal(end)
        check(s.wait_exit() == status, "exit status after %s" % end)
        # Each run starts from the last one's save and adds a given.
        expected = "1234"[:index + 1] + "." * (80 - index)
        check(s.read("autosave") == autosave_bytes(expected), "saved after %s" % end)
    check("the board is saved" in s.stderr(), "message %r" % s.stderr())


ESCARGOT = "1....7.9..3..2...8..96..5....53..9...1..8...26....4...3......1..4......7..7...3.."
PLATINUM = ".......12........3..23..4....18....5.6..7.8.......9.....85.....9...4.5..47...6..."
EMPTY_SOLUTION = ("123456789456789123789123456214365897365897214897214365531642978642978531"
                  "978531642")


def givens_of(puzzle):
    return [i for i, c in enumerate(puzzle) if c != "."]


def drawn_givens(s):
    shot = s.screenshot(keep=False)
    return [i for i in range(81) if shows_digit(shot, i)]


def puzzle_files(s):
    """A collection named on the command line (relative to the starting
    folder, with a byte-order mark, CRLF, a comment, a bad line and names
    after the cells) pages with PageDown and back with Ctrl+Z; the next start
    without a file goes on in it, with the pace and the way of searching as
    left, unless the file changed or the session file is bad; a second start
    with the file hands it to the copy that runs; a bad file leaves the board
    as it was. --solve works without a display."""
    with open(os.path.join(s.elsewhere, "two.sdm"), "w", newline="") as f:
        f.write("\ufeff# two puzzles\r\n%s escargot\r\nnot a puzzle\r\n\r\n%s\tplatinum\n"
                % (ESCARGOT, PLATINUM))
    s.write(autosave_bytes(PUZZLE), "autosave")
    # Named by a relative path longer than any fixed buffer would hold.
    deep = os.path.join(*["folder-%02d-%s" % (k, "d" * 40) for k in range(30)])
    os.makedirs(os.path.join(s.elsewhere, deep))
    os.rename(os.path.join(s.elsewhere, "two.sdm"), os.path.join(s.elsewhere, deep, "two.sdm"))
    os.symlink(os.path.join(deep, "two.sdm"), os.path.join(s.elsewhere, "two.sdm"))
    s.command.append(os.path.join(deep, "two.sdm"))
    s.start()
    wait_until(lambda: drawn_givens(s) == givens_of(ESCARGOT), 10, "the file's first puzzle")
    s.key("Next")
    wait_until(lambda: drawn_givens(s) == givens_of(PLATINUM), 10, "PageDown to the second")
    s.key("Next", "ctrl+z")
    wait_until(lambda: drawn_givens(s) == givens_of(ESCARGOT), 10, "Ctrl+Z back to the first")
    # Back at the first puzzle; 1,000,000 changes a second; fewest candidates.
    s.key("Prior", "minus", "s")
    s.key("q")
    check(s.wait_exit() == 0, "exit status")
    check(s.read("autosave") == autosave_bytes(ESCARGOT), "the file's puzzle saved")

    # The next start takes up the session: the file is open at its first
    # puzzle, and the pace and the way of searching it wrote at its end are
    # the ones it read.
    named = s.command.pop()
    s.start()
    s.key("Next")
    wait_until(lambda: drawn_givens(s) == givens_of(PLATINUM), 10, "PageDown after a restart")
    s.key("q")
    check(s.wait_exit() == 0, "exit status after the restart")
    session = s.read("session").decode()
    check("pace 1000000\n" in session and "strategy fewest\n" in session
          and "puzzle 1 %s\n" % PLATINUM in session, "session %r" % session)
    # The file changed meanwhile: the givens as saved, and the file is closed.
    with open(os.path.join(s.elsewhere, deep, "two.sdm"), "rb") as f:
        two = f.read()
    with open(os.path.join(s.elsewhere, deep, "two.sdm"), "w") as f:
        f.write("%s\n%s\n" % (PLATINUM, ESCARGOT))
    s.start()
    s.key("Prior")
    check(drawn_givens(s) == givens_of(PLATINUM), "a changed file is not paged")
    s.key("q")
    check(s.wait_exit() == 0, "exit status after the changed file")
    check("file " not in s.read("session").decode(), "the changed file forgotten")
    # A bad session file is ignored: the defaults, and a good one written at the end.
    s.write(b"tessarin session 1\npace 1000000\nstrategy fewest\nwindow 1 2\n", "session")
    s.start()
    s.key("q")
    check(s.wait_exit() == 0, "exit status after a bad session")
    session = s.read("session").decode()
    check("pace flat-out\n" in session and "strategy in-order\n" in session, "%r" % session)
    with open(os.path.join(s.elsewhere, deep, "two.sdm"), "wb") as f:
        f.write(two)
    # A second start with a file hands it to the copy that runs, and ends.
    s.start()
    second = subprocess.run(s.command + [named], cwd=s.elsewhere, env=s.env, timeout=30,
                            capture_output=True, text=True)
    check(second.returncode == 0 and second.stderr == "", "the second start: %d %r"
          % (second.returncode, second.stderr))
    wait_until(lambda: drawn_givens(s) == givens_of(ESCARGOT), 10, "the handed file's puzzle")
    s.key("q")
    check(s.wait_exit() == 0, "exit status after the handed file")
    check(not os.path.exists(s.path(".open-request")), "the request left behind")
    s.command.append(named)

    # A FIFO is never waited for: the window starts, says why and quits.
    fifo = os.path.join(s.elsewhere, "pipe.sdm")
    os.mkfifo(fifo)
    s.command[-1] = "pipe.sdm"
    s.start()
    s.settle(0.5)
    check(drawn_givens(s) == givens_of(ESCARGOT), "a FIFO leaves the board as it was")
    s.key("q")
    check(s.wait_exit() == 0, "exit status after a FIFO")

    # Without a display: each puzzle's line, verdict, solution, steps and name.
    env = {k: v for k, v in s.env.items() if k != "DISPLAY"}
    solve = lambda *args, **kw: subprocess.run([s.path("tessarin")] + list(args), env=env,
                                               capture_output=True, text=True,
                                               cwd=s.elsewhere, **kw)
    shell = lambda line: subprocess.run(["bash", "-c", line], env=env, capture_output=True,
                                        text=True, cwd=s.elsewhere, timeout=60)
    # The empty board (several), one whose first open cell has no candidate,
    # and givens that break the rules: judged first, never searched (the
    # search would take minutes on "55" and 79 empty cells).
    board = "\n".join(("." * 81, "12345678." + "........9" + "." * 63 + " no way",
                       "55" + "." * 79, "1" * 81))
    done = solve("--solve", input=board, timeout=60)
    check(done.stdout == "1 several %s 392\n2 none - 1 no way\n3 broken - 0\n4 broken - 0\n"
          % EMPTY_SOLUTION and done.returncode == 1
          and "4 puzzles: 0 solved, 1 several, 1 none, 2 broken" in done.stderr,
          "--solve: %r, %d, %r" % (done.stdout, done.returncode, done.stderr))
    # Pipes of every kind are read to their end: a FIFO with a writer,
    # /dev/stdin and a process substitution.
    for line in ("cat two.sdm > pipe.sdm & %s --solve pipe.sdm",
                 "cat two.sdm | %s --solve /dev/stdin", "%s --solve <(cat two.sdm)"):
        done = shell(line % s.path("tessarin"))
        fields = [l.split(" ") for l in done.stdout.split("\n")]
        check(done.returncode == 0 and fields[0][:2] == ["2", "solved"] and len(fields[0][2]) == 81
              and fields[0][4:] == ["escargot"] and fields[1][:2] == ["5", "solved"]
              and fields[1][4:] == ["platinum"] and "1 line skipped: 3" in done.stderr,
              "%s: %r %r" % (line, done.stdout, done.stderr))
    # Each way of searching takes its own steps; two workers print the same.
    example = "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79"
    for way, steps in (("in-order", "4209"), ("fewest", "52"), ("singles", "1"), ("cover", "52")):
        done = solve("--solve", "--strategy", way, input=example, timeout=60)
        check(done.returncode == 0 and done.stdout.split(" ")[3] == steps + "\n",
              "--strategy %s: %r" % (way, done.stdout))
    one, two = (solve("--solve", "--jobs", n, "--strategy", "singles", "two.sdm", timeout=60)
                for n in ("1", "2"))
    check(one.stdout == two.stdout and one.stdout.count("\n") == 2, "--jobs 2: %r" % two.stdout)
    # A grid after long comments, named after --; a full disk for the output.
    with open(os.path.join(s.elsewhere, "-big.sdk"), "w") as f:
        f.write("# %s\n" % ("x" * 5000) + "\n".join(PLATINUM[k:k + 9] for k in range(0, 81, 9)))
    done = solve("--solve", "--", "-big.sdk", timeout=60)
    check(done.returncode == 0 and done.stdout.startswith("1 solved "), "-- -big.sdk: %r %r"
          % (done.stdout, done.stderr))
    done = shell("%s --solve two.sdm > /dev/full" % s.path("tessarin"))
    check(done.returncode == 2 and "cannot be written" in done.stderr, "/dev/full: %r" % done.stderr)
    check(solve("--solve", "missing.sdk").returncode == 2, "a missing file: status 2")
    check(solve("--bogus").returncode == 2 and "usage" in solve("--bogus").stderr, "a wrong option")
    check("one file at a time" in solve("a", "b").stderr, "two files")
    check(solve("--help").returncode == 0 and "--solve" in solve("--help").stdout, "--help")
    check(solve("--version").stdout.startswith("tessarin "), "--version")


run([persistence, end_of_session, puzzle_files])

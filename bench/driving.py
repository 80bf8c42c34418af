"""What the program-level benchmarks share: the end-to-end harness (a private
Xvfb, a fresh copy of the run folder, xdotool) and the long search."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from harness import Session, autosave_bytes  # noqa: E402

# Over a billion steps: the search is still running when the measurement ends.
LONG_SEARCH = ("9..8...........5............2..1...3.1.....6....4...7.7.86........."
               "3.1..4.....2..")


def session(name):
    """A Session on the run folder named on the command line, with the long
    search saved and a first run behind it, so the font caches exist."""
    s = Session(os.path.abspath(sys.argv[1]), name)
    s.write(autosave_bytes(LONG_SEARCH), "autosave")
    s.start()
    s.key("q")
    s.wait_exit()
    return s


def median(values):
    ordered = sorted(values)
    middle = len(ordered) // 2
    if len(ordered) % 2:
        return ordered[middle]
    return (ordered[middle - 1] + ordered[middle]) / 2

"""What the program-level benchmarks share: the end-to-end harness (a private
Xvfb, a fresh copy of the run folder, xdotool) and the long search."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from harness import Session, autosave_bytes  # noqa: E402

# A search without end: no solution, and the search cannot know before it has
# tried every way of filling the first eight rows (the billion-step puzzle
# 9..8... now ends within about ten seconds, sooner than some measurements).
LONG_SEARCH = "." * 79 + "44"


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

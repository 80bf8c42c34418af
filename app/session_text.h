// What a run leaves for the next one besides the givens: the puzzle file
// open and its puzzle shown, the pace, the length of new puzzles, the way of
// searching and the window's place, as a few lines of text, one setting a
// line ("pace 1,000" is written "pace 1000"):
//
//   tessarin session 1
//   pace flat-out
//   length medium
//   strategy fewest
//   window 120 80 540 960 1.00000     (x, y, width, height, pixel scale)
//   full-screen no
//   puzzle 12 53..7....6..195...      (from 0; the 81 cells the file held)
//   file /home/ada/puzzles/week.sdm   (to the end of the line)
#pragma once

#include <cstddef>
#include <cstdint>

struct Session {
    uint8_t pace;     // a pace level, flat_out for flat out
    uint8_t length;   // a PuzzleLength
    uint8_t strategy; // a Strategy
    bool window_known;
    bool full_screen;
    // The window's place and size when not full screen, in screen
    // coordinates, at the pixel scale of that run.
    int32_t x, y, width, height;
    float scale;
    // The puzzle file open, absolute; empty for none (or one whose path is
    // too long to keep); one with a control character in its path is not
    // written. Its puzzle shown, and that puzzle's cells.
    char file[4096];
    uint32_t puzzle;
    uint8_t cells[81];
};

constexpr int session_text_capacity = 4400;

// The text of a session; its length.
int session_to_text(const Session& session, char* out, int capacity);
// Reads a session's text; false for a text of another version or with any
// line it does not know, which then leaves `out` as it was.
bool session_from_text(const char* text, size_t length, Session* out);

// Puzzles as text: one read from pasted text or a collection of one a line,
// and the board written as a line.
#pragma once

#include <cstddef>
#include <cstdint>

#include "game/board/game_state.h"

// Longer texts are refused unread: a grid drawn wide takes a few hundred.
constexpr size_t puzzle_text_limit = 4096;

struct PuzzleText {
    bool is_puzzle;
    // Row-major, 0 for an empty cell.
    uint8_t cells[board_cells];
    // Why the text is not a puzzle, in words for the user.
    char reason[64];
};

// Reads the first `length` bytes of `text` as a puzzle, as read_puzzle_grid
// does, when they are no longer than a paste may be.
PuzzleText read_puzzle_text(const char* text, size_t length);

// Reads the first `length` bytes of `text` as a puzzle: 81 cells (1-9, or one
// of . 0 _ * for empty) on one line or on nine lines of nine, with spaces,
// tabs and | between cells, lines of - + | between rows, lines that start
// with # (comments), blank space around the whole, a UTF-8 byte-order mark
// and Windows line ends.
PuzzleText read_puzzle_grid(const char* text, size_t length);

// How many skipped lines are named by number.
constexpr int skipped_lines_named = 8;

struct PuzzleLines {
    uint32_t puzzles;
    // Lines that hold something else than a puzzle, a blank or a comment,
    // and the first of them by number (from 1).
    uint32_t skipped;
    uint32_t skipped_lines[skipped_lines_named];
};

// Where each puzzle of a collection stands: its line (from 1), and what
// follows its cells (a name, a rating) as a zero-ended text in `names`, which
// has room for the whole text; `name_at` is its start there.
struct PuzzleLabels {
    uint32_t* lines;
    uint32_t* name_at;
    char* names;
};

// Reads a collection: one puzzle per line, its 81 cells at the start, then the
// line's end or a space or tab and any text (a rating, a name); blank lines
// and lines that start with # are passed over. Each puzzle's cells go to
// `out` in order (81 bytes each), unless `out` is null, for a count first;
// so do their labels, unless `labels` is null.
PuzzleLines read_puzzle_lines(const char* text, size_t length, uint8_t* out,
                              PuzzleLabels* labels = nullptr);

// The board as 81 characters and a terminating zero, '.' for an empty cell.
// While a search runs, its tentative digits are left out.
void board_to_line(char line[board_cells + 1]);

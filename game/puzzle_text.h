// Puzzles as text: one read from pasted text, and the board written as a line.
#pragma once

#include <cstddef>
#include <cstdint>

#include "game/game_state.h"

// Longer texts are refused unread: a grid drawn wide takes a few hundred.
constexpr size_t puzzle_text_limit = 4096;

struct PuzzleText {
    bool is_puzzle;
    // Row-major, 0 for an empty cell.
    uint8_t cells[board_cells];
    // Why the text is not a puzzle, in words for the user.
    char reason[64];
};

// Reads the first `length` bytes of `text` as a puzzle: 81 cells (1-9, or one
// of . 0 _ * for empty) on one line or on nine lines of nine, with spaces,
// tabs and | between cells, lines of - + | between rows, blank space around
// the whole and Windows line ends.
PuzzleText read_puzzle_text(const char* text, size_t length);

// The board as 81 characters and a terminating zero, '.' for an empty cell.
// While a search runs, its tentative digits are left out.
void board_to_line(char line[board_cells + 1]);

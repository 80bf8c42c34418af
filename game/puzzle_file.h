// Puzzle files: one puzzle, or a collection of one a line, opened from the
// command line or dropped on the window, and paged through with PageDown
// and PageUp.
#pragma once

#include <cstddef>
#include <cstdint>

#include "game/puzzle_text.h"

// Larger files are refused unread.
constexpr int64_t puzzle_file_limit = 128ll << 20;

// Reads a file's text: one puzzle in any form a paste takes, or a collection.
// False with the reason in words ("is a folder", "holds no puzzle").
bool read_puzzle_file(const char* path, PuzzleCollection* out, char* reason, int reason_size);

// Opens the file in the program: its first puzzle goes on the board as the
// givens, one undo step; the line under the palette says which puzzle of
// how many, or why the file did not open, and the board stays as it was.
void open_puzzle_file(const char* path, double now);
// PageDown and PageUp: the next or previous puzzle of the open file.
void page_puzzle_file(int step, double now);

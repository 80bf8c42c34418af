// The puzzle file open in the program: opened from the command line or
// dropped on the window, and paged through with PageDown and PageUp.
#pragma once

// Opens the file in the program: its first puzzle goes on the board as the
// givens, one undo step; the line under the palette says which puzzle of
// how many, or why the file did not open, and the board stays as it was.
// False when it did not open.
bool open_puzzle_file(const char* path, double now);
// PageDown and PageUp: the next or previous puzzle of the open file.
void page_puzzle_file(int step, double now);

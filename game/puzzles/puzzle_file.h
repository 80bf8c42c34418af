// The puzzle file open in the program: opened from the command line or
// dropped on the window, and paged through with PageDown and PageUp.
#pragma once

#include <cstdint>

// Opens the file in the program: its first puzzle goes on the board as the
// givens, one undo step; the line under the palette says which puzzle of
// how many, or why the file did not open, and the board stays as it was.
// False when it did not open.
bool open_puzzle_file(const char* path, double now);
// PageDown and PageUp: the next or previous puzzle of the open file.
void page_puzzle_file(int step, double now);

// The open file's path as it was opened (empty when too long to keep), its
// puzzle shown and that puzzle's cells; false when no file is open.
bool open_file_place(const char** path, uint32_t* shown, const uint8_t** cells);
// The last run's file again, at the puzzle it showed, when the file still
// holds that puzzle there: the board keeps its givens and PageDown goes on
// from there. Otherwise false, and the line says the file changed.
bool reopen_puzzle_file(const char* path, uint32_t shown, const uint8_t cells[81], double now);

// The cell cursor and what typing does at it.
#pragma once

// Shows the cursor where it is, or when shown moves it one cell; it stops at
// the edges.
void move_cursor(int across, int down);
// A digit typed: 1-9 puts it into the cursor's cell as a given and selects it
// in the palette, 0 empties the cell; either moves on in reading order. With
// the cursor hidden, 1-9 only selects the digit in the palette.
void type_digit(int digit);
// Delete: empties the cursor's cell.
void erase_cursor_cell();
// Backspace: moves back one cell and empties that.
void erase_back();
// Escape: hides the cursor and drops the digit and eraser selection.
void hide_cursor();

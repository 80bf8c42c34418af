// Puzzles through the system clipboard, as text.
#pragma once

// Ctrl+V: the clipboard's puzzle becomes the board's givens, or the title
// says for a moment why the text is not one. Nothing while a search runs.
void paste_puzzle();
// Ctrl+C: the board as one line of 81 characters.
void copy_board();

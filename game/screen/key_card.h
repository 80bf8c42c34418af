// The card of every key the program knows, drawn over the board.
#pragma once

// Shown by `?` and F1; any key or click closes it and does nothing else.
extern bool key_card_shown;

// Shows the card. Its font and texts are made the first time, so a run that
// never shows it bakes and caches nothing more.
void show_key_card();
void draw_key_card();

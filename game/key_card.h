// The card of every key the program knows, drawn over the board.
#pragma once

// Shown by `?` and F1; any key or click closes it and does nothing else.
extern bool key_card_shown;

// Its font and texts, made once with the game screen. False (with the reason
// reported) when one cannot be made.
bool key_card_start();
void draw_key_card();

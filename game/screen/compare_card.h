// The card that compares the four ways of searching on the givens: each one's
// steps, changes and time, counted on a worker thread, with a bar on a
// logarithmic scale. C shows it; a row's click or number chooses that way.
#pragma once

#include "game/board/motion.h"

extern bool compare_card_shown;

// C: shows the card and starts the counts; not while a search runs.
void show_compare_card(double now);
void draw_compare_card();
// Waiting while the card's counts are made, moving when one has come in.
Motion compare_card_motion();
// A key while the card shows: 1 to 4 choose that way; every key closes it.
void compare_card_key(int digit, double now);
// A press at (x, y) in logical units while the card shows: a row chooses its
// way; every press closes the card.
void compare_card_press(float x, float y, double now);

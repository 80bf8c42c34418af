// The frame of a card drawn over the board (the key card, the compare card):
// the screen shaded, the card in the middle of it.
#pragma once

#include "render/shapes.h"
#include "text/text_object.h"

// Sizes in logical units.
constexpr float card_width = 480;
constexpr float card_margin = 16;

// Shades the screen and draws an empty card `height` tall in the middle of
// the drawing area, which holds it at the smallest window; returns its
// top-left corner.
Vec2 draw_card_frame(float height);
// A text on a card starting at `left`, centred on `middle_y`.
void draw_left_aligned(const TextObject* text, float left, float middle_y);

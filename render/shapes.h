// Flat rectangles and rectangle outlines.
#pragma once

#include <cstdint>

struct Vec2 {
    float x, y;
};

void draw_rect(Vec2 top_left, float width, float height, uint8_t r, uint8_t g, uint8_t b,
               uint8_t a);
// The four bars lie inside the box, `thickness` wide.
void draw_rect_outline(Vec2 top_left, float width, float height, float thickness, uint8_t r,
                       uint8_t g, uint8_t b, uint8_t a);

// Mouse presses on the game screen.
#pragma once

#include "render/shapes.h"

// Inclusive box test around a centre, in single precision.
bool point_in_box(float x, float y, Vec2 centre, float half_width, float half_height);

// A press (or release, which does nothing) at (x, y) in layout units.
void handle_click(bool pressed, float x, float y);

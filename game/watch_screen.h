// What the screen shows while the search is watched: the status of the
// search or its replay, and an outline on the cell of the last change.
#pragma once

// The outline, when there is anything to show; at flat out with no pause and
// no replay it draws nothing.
void draw_last_change();
// The small font of the line under the palette, registered when first wanted:
// a run that never shows the line keeps the font caches it always had.
bool status_font_ready();
// The status for this frame: its width in logical units, 0 when there is
// none. Its font and pieces are made the first time.
int measure_status();
// Draws what measure_status measured, from `left`, centred on `y`.
void draw_status(float left, float y);

// What the screen shows while the search is watched: the status of the
// search or its replay, and an outline on the cell of the last change.
#pragma once

// The outline, when there is anything to show; at flat out with no pause and
// no replay it draws nothing.
void draw_last_change();
// The outline itself, on any cell.
void draw_change_outline(int cell);
// The small font of the line under the palette, registered when first wanted:
// a run that never shows the line keeps the font caches it always had.
bool status_font_ready();
// Between the groups of the line, and where a text is split into groups.
constexpr const char* status_gap_text = "   ";
// The gap's width and a row's height in the status font, once it is ready.
float status_gap();
float status_row_height();
// Groups of the status at most: change, filled, pace, paused, way, record.
constexpr int status_group_capacity = 6;
// Puts together the status for this frame and returns how many groups it
// has, 0 when there is none. Its font and pieces are made the first time.
int measure_status();
// The width of one of this frame's groups, in logical units.
int status_group_width(int group);
// Draws one of this frame's groups from `left`, centred on `y`.
void draw_status_group(int group, float left, float y);

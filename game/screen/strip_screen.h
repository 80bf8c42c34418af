// The strip below the status line: the search's depth over the changes the
// record holds, and the change the board shows; the mouse seeks along it.
#pragma once

// Draws it where the status line shows; nothing else.
void draw_search_strip();
// A press at (x, y) in logical units: true when it lands on a strip that is
// drawn, and the board then shows the change under it (see watch_seek).
bool strip_press(float x, float y);
// The pointer moved while the button is held: a drag follows it.
void strip_drag(float x);
void strip_release();

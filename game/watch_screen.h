// What the screen shows while the search is watched: a line under the palette
// that says where the search is, and an outline on the cell of the last change.
#pragma once

// Draws both when there is anything to show; at flat out with no pause and no
// replay it draws nothing. Its font and texts are made the first time.
void draw_watch();

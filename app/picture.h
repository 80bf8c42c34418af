// P: a picture of the board, and the line and strip under the palette when
// they show, saved as a PNG into the user's pictures folder.
#pragma once

struct Capture;

// Draws the screen off the window at the window's scale (2 at least), saves
// it, and says on the line where it went or why it could not.
void save_picture(double now);

// A new file's path in the pictures folder, "tessarin-YYYY-MM-DD-HHMMSS.<ext>"
// by the local time (with "-2" and on when that is taken); false with the
// reason in `why` when there is no folder to put it in.
bool picture_path(const char* extension, char* out, int capacity, const char** why);

// Draws off the window as a window at `scale` would show the layout: `draw`
// draws and reads the capture; the window's own drawing is put back after.
// False when no capture can be had.
bool draw_off_window(float scale, void (*draw)(const Capture& capture, void* context),
                     void* context);

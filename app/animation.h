// Shift+P: an animated GIF of the search, from the oldest state the record
// holds up to the change shown, into the user's pictures folder.
#pragma once

#include "game/board/motion.h"

// In a replay or a paused search: takes the film and starts the worker; the
// line says why when it cannot.
void start_animation(double now);
// Each frame: the line says how far the worker is, and at its end where the
// file went or why there is none.
void animation_frame(double now);
// Moving while the worker makes one: the line counts its frames.
Motion animation_motion();
// Escape: asks the worker to stop, leaving no file; false when none works.
bool cancel_animation();
// The end of the run: cancels it and waits a little for the worker to stop.
void finish_animation();

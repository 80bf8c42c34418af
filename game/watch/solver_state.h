// The watch's own look at the solver thread, shared by its sources only.
#pragma once

bool solver_running();
// Running, and a pause asked for.
bool solver_paused();
// A paused search answers within one of its slices; a key waits for that
// rather than being lost. False when it did not park in time.
bool wait_until_parked();
// A stopped search goes straight up and ends within one of its slices; a
// key pressed meanwhile waits for that, then acts as with no search.
void wait_until_stopped();

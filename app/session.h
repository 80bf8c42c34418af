// The session kept beside "autosave", in "session": read at start, written
// a second after a change and at every end, in one step as the save is.
#pragma once

#include "app/session_text.h"

// The last run's session; the defaults when its file was missing, of
// another version or bad.
extern Session remembered_session;

// Reads the newer "session" of the save folder and the user's data folder.
void load_session();
// The last run's pace, length and way of searching; its file reopened at its
// puzzle, unless the command line named one.
void apply_session(bool file_named, double now);
// Called once a frame: writes the session a second after it last changed.
void follow_session(double now);
// Writes the session as it is now; false when it could not be written.
bool save_session();

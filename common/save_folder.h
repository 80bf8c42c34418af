// Where the program keeps the files it writes: the save and the font cache.
#pragma once

#include <cstdint>

// The folders as prefixes of the file names: empty for the working directory
// (the executable's folder), else the folder ending in a separator.
struct SaveFolder {
    // Where the files go now.
    char prefix[768];
    // The user's data folder; empty when there is none.
    char user_prefix[768];
};

extern SaveFolder save_folder;

// The executable's folder whenever a file can be made there, so an unpacked
// copy stays self-contained; else the user's own data folder, when that can
// be written. With neither, the executable's folder (the saves then fail).
void choose_save_folder();

// Takes the chosen folder's lock; false when another copy of the program
// holds it (a failure to take it lets the program run unlocked).
bool claim_save_folder();

// Moves the saves to the user's data folder once the chosen folder stopped
// taking them (a full disk, a drive gone or remounted read-only). False when
// the saves are there already, there is none, or another copy holds it.
bool move_to_user_folder();

// Reads a saved file whole and hands it to `take` (the bytes with a zero
// after them, and their length): from the save folder and from the other of
// the executable's and the user's data folder, the newer first, the other
// when `take` refuses it. A run whose folder could not be written saved into
// the user's, and the next one may find its folder writable again. At a tie
// the save folder's comes first. False when neither was taken.
bool read_newer_save(const char* name, bool (*take)(const char* bytes, int32_t length));

// Removes the temporary files of writes that never finished, "autosave.*.tmp"
// "session.*.tmp" and "tmp/font.*.tmp", whose process is gone or which are over an hour old.
void sweep_stale_temporaries();

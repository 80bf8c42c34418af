// Where the program keeps the files it writes: the save and the font cache.
#pragma once

// The folder as a prefix of the file names: empty for the working directory
// (the executable's folder), else the user's data folder ending in a separator.
struct SaveFolder {
    char prefix[768];
};

extern SaveFolder save_folder;

// The executable's folder whenever a file can be made there, so an unpacked
// copy stays self-contained; else the user's own data folder, when that can
// be written. With neither, the executable's folder (the saves then fail).
void choose_save_folder();

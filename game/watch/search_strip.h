// The search's profile for the strip under the status line: the depth (the
// cells the search holds filled) after each change, kept as the lowest and
// highest depth of each run of changes, so a strip of any width is drawn
// from a few thousand numbers whatever the length of the search.
#pragma once

#include <cstdint>

#include "game/search/search_record.h"

// Runs of changes kept; a run doubles its length when they are all used.
constexpr int strip_runs = 4096;

struct DepthRun {
    uint8_t low, high;
};

struct SearchStrip {
    // The change the first run starts at, and the changes taken in so far.
    uint64_t first, through;
    // Changes a run holds: a power of two.
    uint64_t run_length;
    int runs_used;
    // The depth after `through` changes.
    int depth;
    DepthRun runs[strip_runs];
};

extern SearchStrip search_strip;

// Empty, for changes from `first` on, with the depth there.
void strip_start(uint64_t first, int depth);
// Takes in recorded changes up to `to` (which the record must still hold).
void strip_take_changes(uint64_t to);
// The strip of what the record holds from `first` to `count`, ending at the
// depth `last_depth`: a replay's, built in one pass.
void strip_from_record(uint64_t first, uint64_t count, int last_depth);
// The lowest and highest depth over the changes [from, to) as the runs hold
// them; false when none of them are taken in.
bool strip_depths(uint64_t from, uint64_t to, int* low, int* high);

// The solver thread's side of watching: waiting for each change's turn at
// the pace, sleeping while paused, and retracing changes stepped back over.
#pragma once

#include <cstdint>

// The solver thread's own account of the pace.
struct PaceClock {
    int64_t start;    // counter value when the pace last started
    uint64_t changes; // changes made at this pace since then
    uint8_t pace;     // the pace level it counts for
    bool restart;     // a pause or a step came between: count afresh
    uint32_t grants_used;
};

enum class Gate : uint8_t { go, stop, flat_out };

// Whether the search runs watched now: a pace other than flat out, or paused.
bool search_watched();

// Called before each new change of a watched search that has made `head`
// changes. Waits for the change's turn, or while paused, in slices short
// enough that every control is seen within one of them; retraces what was
// stepped back over first. Go: make the change. Flat out: leave the watched
// search (the change not made). Stop: end the search; the board shows
// `watch_shared.shown` changes.
Gate pace_gate(PaceClock& clock, uint64_t head);

// After each change of a watched search: the board shows `head` changes.
void pace_changed(uint64_t head, int cell);

// A flat-out run tells the watch nothing until it is interrupted or ends:
// then the board shows `head` changes.
void pace_show_head(uint64_t head);

// At the end of a search of any way: the record takes the board as it is,
// the changes it shows and the most ever made, and the watch the head.
void pace_search_ended(uint64_t changes, uint64_t made);

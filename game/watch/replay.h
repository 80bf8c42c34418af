// The replay of a finished search from its record: the main thread's alone,
// as the search is over.
#pragma once

#include <cstdint>

bool replay_showing();
// Where the replay is (changes from the search's start) and whether it plays.
uint64_t replay_position();
bool replay_playing();

// The replay from the search's last state, then to `position`; the board as
// the search left it is kept for the end of the replay.
void enter_replay(uint64_t position);
// The board back as the search left it; every edit and click calls this first.
void leave_replay();
// Shows the state after `position` changes, which the record holds.
void replay_show(uint64_t position);
// Plays or pauses; from its end it plays from the oldest state again.
void replay_toggle_playing();
// No replay, as at the start of a new search.
void replay_reset();
// Plays a replay on, once per frame.
void replay_frame(double now);

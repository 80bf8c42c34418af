// Watching the search: its pace, pausing it, stepping it on and back, and the
// replay of a finished search from its record. The keys call these.
#pragma once

#include <atomic>
#include <cstdint>

// Bits of game_state.stop_requested: the search is to end, or the watch
// controls changed and the flat-out search is to look at them.
constexpr uint8_t stop_search = 1;
constexpr uint8_t stop_flat_out = 2;

// Steps a second at each pace level; the level past the last is flat out.
constexpr int pace_levels = 15;
constexpr int flat_out = pace_levels;
extern const uint32_t pace_rates[pace_levels];

// What the main thread and the solver thread share while a search runs. The
// main thread asks (pace, pause, grants); the solver answers (parked, shown).
struct WatchShared {
    std::atomic<uint8_t> pace{flat_out};
    std::atomic<bool> pause_requested;
    // One more change wanted of a paused search, counted up by the main thread.
    std::atomic<uint32_t> grants;
    // Counted up by the main thread at every pause and every grant. The
    // solver, sleeping paused, answers with the ticket it has seen: from then
    // on, until the next resume or grant, the board and record are the main
    // thread's.
    std::atomic<uint32_t> ticket;
    std::atomic<uint32_t> parked_ticket;
    // Changes the board shows; below the record's count after steps back.
    std::atomic<uint64_t> shown;
    // The cell of the last change shown, -1 for none.
    std::atomic<int8_t> last_cell{-1};
};

extern WatchShared watch_shared;

// The search is paused and its thread sleeps: the main thread may read the
// record and change the board.
bool search_parked();
bool replay_showing();
// Where the replay is (changes from the search's start) and whether it plays.
uint64_t replay_position();
bool replay_playing();
// Anything to show: a pace other than flat out, a paused search or a replay.
bool watch_active();

// + and -: the next pace up or down.
void pace_faster();
void pace_slower();
// Space: pauses or resumes a search, plays or pauses a replay, else starts a
// search as Solve does.
void watch_space();
// One change on or back while paused or in a replay; false when neither
// shows, so the key may serve something else. `enter_replay` lets a step back
// after a search start the replay.
bool watch_step_forward();
bool watch_step_back(bool enter_replay);
// Home: the replay from the oldest state held. End: out of the replay.
void watch_home();
void watch_end();
// Escape: a running search stops, a replay is left.
void watch_escape();
// The board back as the search left it; every edit and click calls this first.
void leave_replay();
// Every edit from the keyboard, a paste, undo and redo start here: a replay
// is left, and false while a search owns the board.
bool begin_board_edit();
// The givens changed: no replay of the last search. Every edit of the
// givens calls this after mark_givens_changed.
void forget_record();
// A new search: no pause, an empty record, no replay.
void watch_reset();
// Plays a replay on, once per frame.
void watch_frame(double now);

// What the main thread and the solver thread share about a search: the stop
// bits, the paces and the watch's hand-over of the board.
//
// Who may write the board, the record and `shown`:
// - idle or over (solver_running clear): the main thread alone.
// - running, flat out or paced: the solver alone; the main thread only reads
//   the board and asks (pace, pause, grants, stop).
// - paused and parked (parked_ticket equals ticket, no stop asked): the main
//   thread, for its step keys, until it resumes, grants a change or stops.
// - stopping (a stop asked, solver_running still set): the solver alone. The
//   main thread gives up a parked board the moment it asks for the stop, and
//   its keys wait for the search to end.
// - replay: the main thread alone, as the search is over.
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

// The main thread asks (pace, pause, grants); the solver answers (parked, shown).
struct WatchShared {
    std::atomic<uint8_t> pace{flat_out};
    std::atomic<bool> pause_requested;
    // One more change wanted of a paused search, counted up by the main thread.
    std::atomic<uint32_t> grants;
    // Counted up by the main thread at every pause and every grant. The
    // solver, sleeping paused, answers with the ticket it has seen: from then
    // on, until the next resume, grant or stop, the board and record are the
    // main thread's.
    std::atomic<uint32_t> ticket;
    std::atomic<uint32_t> parked_ticket;
    // Changes the board shows; below the record's count after steps back.
    std::atomic<uint64_t> shown;
    // The cell of the last change shown, -1 for none.
    std::atomic<int8_t> last_cell{-1};
    // The way of searching (a Strategy), set only while no search runs.
    std::atomic<uint8_t> strategy;
};

extern WatchShared watch_shared;

// The solver thread's waits: each change at the pace, and sleeping while paused.
#include "game/search/search_pace.h"

#include "game/board/game_state.h"
#include "game/search/search_record.h"
#include "game/search/search_shared.h"
#include "platform/platform.h"

// A paused or paced search looks at the controls at least this often.
static constexpr double slice_seconds = 0.01;
// Shorter sleeps are not worth a wake-up: at high paces the changes come in
// batches, each on time by the clock started with the pace.
static constexpr double shortest_sleep = 0.001;

bool search_watched() {
    return watch_shared.pace.load(std::memory_order_relaxed) != flat_out ||
           watch_shared.pause_requested.load(std::memory_order_relaxed);
}

static int64_t ticks(double seconds) {
    return (int64_t)(seconds / platform_seconds_per_tick());
}

// True when the next change is due by the clock of this pace; otherwise
// sleeps towards it for at most one slice.
static bool turn_come(PaceClock& clock) {
    double due = (double)(clock.changes + 1) / pace_rates[clock.pace];
    int64_t deadline = clock.start + ticks(due);
    int64_t now = platform_counter_now();
    if (deadline - now < ticks(shortest_sleep)) {
        clock.changes++;
        return true;
    }
    int64_t slice_end = now + ticks(slice_seconds);
    platform_sleep_until(deadline < slice_end ? deadline : slice_end);
    return false;
}

// Makes again the recorded change after what the board shows.
static void retrace(uint64_t shown) {
    record_move_board(shown, shown + 1);
    pace_changed(shown + 1, change_cell(recorded_change(shown)));
}

// Sleeps, paused, telling the main thread the board and record are its own.
static void park(uint64_t head, uint32_t ticket) {
    search_record.count.store(head, std::memory_order_relaxed);
    search_record.written.store(head, std::memory_order_relaxed);
    watch_shared.parked_ticket.store(ticket, std::memory_order_release);
    platform_sleep_until(platform_counter_now() + ticks(slice_seconds));
}

Gate pace_gate(PaceClock& clock, uint64_t head) {
    for (;;) {
        if (game_state.stop_requested.load(std::memory_order_acquire) & stop_search)
            return Gate::stop;
        // Before the pause flag: a grant seen here with no pause after it
        // belongs to a pause already lifted.
        uint32_t grants = watch_shared.grants.load(std::memory_order_acquire);
        if (watch_shared.pause_requested.load(std::memory_order_acquire)) {
            clock.restart = true;
            // The ticket first: a grant counted before it is seen below.
            uint32_t ticket = watch_shared.ticket.load(std::memory_order_acquire);
            if (watch_shared.grants.load(std::memory_order_acquire) == clock.grants_used) {
                park(head, ticket);
                continue;
            }
            clock.grants_used++;
            // Read after the grant: the main thread's own steps came before it.
            uint64_t shown = watch_shared.shown.load(std::memory_order_relaxed);
            if (shown == head) return Gate::go;
            retrace(shown);
            continue;
        }
        // A step asked for just before a resume is not made at the next pause.
        clock.grants_used = grants;
        // Read after the pause flag: the steps of a pause just lifted are seen.
        uint64_t shown = watch_shared.shown.load(std::memory_order_relaxed);
        uint8_t pace = watch_shared.pace.load(std::memory_order_relaxed);
        if (clock.restart || pace != clock.pace) {
            clock = PaceClock{platform_counter_now(), 0, pace, false, clock.grants_used};
        }
        if (pace != flat_out && !turn_come(clock)) continue;
        if (shown < head) {
            retrace(shown);
            continue;
        }
        return pace == flat_out ? Gate::flat_out : Gate::go;
    }
}

void pace_changed(uint64_t head, int cell) {
    watch_shared.last_cell.store((int8_t)cell, std::memory_order_relaxed);
    watch_shared.shown.store(head, std::memory_order_release);
}

void pace_show_head(uint64_t head) {
    if (head > 0) pace_changed(head, change_cell(recorded_change(head - 1)));
}

void pace_search_ended(uint64_t changes, uint64_t made) {
    for (int i = 0; i < board_cells; i++) search_record.last_cells[i] = (uint8_t)cell_value(i);
    search_record.written.store(changes > made ? changes : made, std::memory_order_relaxed);
    search_record.count.store(changes, std::memory_order_relaxed);
    pace_show_head(changes);
}

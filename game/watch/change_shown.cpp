// Which change the board shows, and its story, asked once for each change.
#include "game/watch/change_shown.h"

#include "game/board/game_state.h"
#include "game/search/search_record.h"
#include "game/search/search_shared.h"
#include "game/watch/replay.h"
#include "game/watch/watch.h"

static ShownChange last_told;
// Told while the search ran: its end may name the same change again.
static bool told_running;

// The change's number, or false when the board shows none: a search at its
// start or flat out, or a record that holds no change before it.
static bool number_shown(uint64_t* number, bool* running) {
    *running = game_state.solver_running.load(std::memory_order_acquire);
    if (!watch_active()) return false;
    if (replay_showing()) {
        *number = replay_position();
        return *number > record_first();
    }
    if (*running) {
        // Acquired: the solver recorded the change before it said so.
        *number = watch_shared.shown.load(std::memory_order_acquire);
        return *number > 0;
    }
    // Over: the change it ended at, while its verdict stands.
    *number = search_record.count.load(std::memory_order_relaxed);
    return search_verdict.verdict != Verdict::none && *number > record_first();
}

bool shown_change(ShownChange* out) {
    uint64_t number;
    bool running;
    if (!number_shown(&number, &running)) return false;
    if (last_told.number == number && last_told.search == search_number() &&
        told_running == running) {
        *out = last_told;
        return true;
    }
    Change change = recorded_change(number - 1);
    int cell = change_cell(change);
    // A paced search may have written its next change already: that one is
    // told when it shows.
    if (cell >= board_cells || cell_value(cell) != change_after(change)) return false;
    uint8_t before[board_cells];
    for (int i = 0; i < board_cells; i++) before[i] = (uint8_t)cell_value(i);
    before[cell] = (uint8_t)change_before(change);
    ShownChange told = {number, search_number(), {}, number == 1, Verdict::none};
    tell_change(before, change, search_strategy(), &told.story);
    if (!running && number == search_record.count.load(std::memory_order_relaxed)) {
        // A flat-out search has no verdict; a full board still says how it ended.
        bool full = true;
        for (int i = 0; i < board_cells; i++) full = full && cell_value(i) != 0;
        told.ending = search_verdict.verdict != Verdict::none ? search_verdict.verdict
                      : full                                  ? Verdict::solved
                                                              : Verdict::none;
    }
    last_told = told;
    told_running = running;
    *out = told;
    return true;
}

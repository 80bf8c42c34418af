// The depth-first search on the solver thread, flat out or watched.
#include "game/search/solver.h"

#include "game/board/game_state.h"
#include "game/search/search_order.h"
#include "game/search/search_pace.h"
#include "game/search/search_record.h"
#include "game/search/search_shared.h"
#include "platform/platform.h"

uint64_t solver_steps;

// What the search keeps beside the board: the digits each house holds now,
// and its order. Every open cell after the current one that the search
// filled has been emptied again, so the next open cell is the next one to
// fill, as a scan of the board would find it. The board and this are the
// whole state of the search: after an interruption, the search picks up
// from them.
struct SearchState {
    Houses houses;
    SearchOrder order;
    // The open cell the search was at when it was interrupted.
    int interrupted_at;
    // The changes made when a stop came to a board stepped back to fewer.
    uint64_t made;
    PaceClock clock;
};

// Interrupted: the watch controls changed, and the search is to pick up
// from where it is, flat out or watched. Stopped: the search goes straight
// up, changing nothing more; the cells are emptied after.
enum class Outcome : uint8_t { failed, solved, interrupted, stopped };

// What a step leaves: how it ended, and the changes made by then, as the
// record counts them. The count goes down and back up the steps rather than
// living in the state, so it stays in a register.
struct Step {
    Outcome outcome;
    uint64_t changes;
};

// A step starts a cache line wherever the linker places it, so that its speed,
// and the bench's comparison of two copies of it, do not hang on that.
template <bool watched>
[[gnu::aligned(64)]] static Step fill_from(SearchState& search, int position, uint64_t changes);

// Watched, before each change: false when the search is to leave this run.
// A stop leaves the count at what the board shows, which steps back may
// have left below what was made.
static bool wait_for_change(SearchState& search, int position, uint64_t& changes,
                            Outcome* outcome) {
    Gate gate = pace_gate(search.clock, changes);
    if (gate == Gate::go) return true;
    if (gate == Gate::stop) {
        search.made = changes;
        changes = watch_shared.shown.load(std::memory_order_relaxed);
        *outcome = Outcome::stopped;
        return false;
    }
    search.interrupted_at = position;
    *outcome = Outcome::interrupted;
    return false;
}

// The digits of the open cell at `position` after `held`, the digit it holds
// (0 for none, and then nothing is taken back). Each goes to the board as it
// is tried, and the cell is emptied when none is left. Watched, each change
// waits for its turn first.
template <bool watched>
[[gnu::always_inline]] inline Step try_digits(SearchState& search, int position,
                                              unsigned candidates, int held, uint64_t changes) {
    const OpenCell cell = search.order.open[position];
    unsigned& row = search.houses.held[cell.row];
    unsigned& column = search.houses.held[cell.column];
    unsigned& box = search.houses.held[cell.box];
    Outcome outcome;
    // The change that empties the cell: what it holds, going to nothing. Kept
    // ready, so the last change costs the record only its write.
    Change undo = make_change(cell.index, held, 0);
    // The held digit was not in these units before this cell took it.
    unsigned held_bit = (1u << held) & all_digits;
    row ^= held_bit;
    column ^= held_bit;
    box ^= held_bit;
    while (candidates) {
        if (watched && !wait_for_change(search, position, changes, &outcome))
            return {outcome, changes};
        // The lowest bit left is the smallest digit left.
        unsigned digit_bit = candidates & (0u - candidates);
        candidates ^= digit_bit;
        row |= digit_bit;
        column |= digit_bit;
        box |= digit_bit;
        int digit = __builtin_ctz(digit_bit);
        set_cell_value(cell.index, digit);
        record_change(changes, change_to(undo, digit));
        undo = make_change(change_cell(undo), digit, 0);
        if (watched) pace_changed(changes, cell.index);
        Step step = fill_from<watched>(search, position + 1, changes);
        if (step.outcome != Outcome::failed) return step;
        changes = step.changes;
        // The digit was not in these units before this step placed it.
        row ^= digit_bit;
        column ^= digit_bit;
        box ^= digit_bit;
    }
    // A cell that never held a digit is written, but does not change.
    held = change_before(undo);
    if (watched && held && !wait_for_change(search, position, changes, &outcome))
        return {outcome, changes};
    set_cell_value(cell.index, 0);
    if (held) {
        record_change(changes, undo);
        if (watched) pace_changed(changes, cell.index);
    }
    return {Outcome::failed, changes};
}

// One step: reaches the open cell at `position` and tries its digits. A stop
// goes straight up through every step. Flat out, the requests are all it
// looks at.
template <bool watched> static Step fill_from(SearchState& search, int position, uint64_t changes) {
    solver_steps++;
    if (uint8_t requests = game_state.stop_requested.load(std::memory_order_relaxed)) {
        if (requests & stop_search) return {Outcome::stopped, changes};
        search.interrupted_at = position;
        return {Outcome::interrupted, changes};
    }
    if (position == search.order.open_count) return {Outcome::solved, changes};
    const OpenCell cell = search.order.open[position];
    return try_digits<watched>(search, position, candidates_of(search.houses, cell), 0, changes);
}

// Picks up the search at `position` from the board: each open cell before
// the interrupted one holds its digit and waits for the cells after it; the
// interrupted one goes on with the digits after its own. The units fill
// again on the way down, so each cell's candidates are what they were when
// the search reached it. No step is counted again.
static Step pick_up(SearchState& search, int position, uint64_t changes) {
    if (position == search.order.open_count) return {Outcome::solved, changes};
    const OpenCell cell = search.order.open[position];
    unsigned candidates = candidates_of(search.houses, cell);
    int held = cell_value(cell.index);
    unsigned held_bit = (1u << held) & all_digits;
    // Digits are tried in rising order: those up to the held one are done.
    candidates &= ~((2u << held) - 1);
    search.houses.held[cell.row] |= held_bit;
    search.houses.held[cell.column] |= held_bit;
    search.houses.held[cell.box] |= held_bit;
    if (position < search.interrupted_at) {
        Step step = pick_up(search, position + 1, changes);
        if (step.outcome != Outcome::failed) return step;
        changes = step.changes;
    }
    return search_watched() ? try_digits<true>(search, position, candidates, held, changes)
                            : try_digits<false>(search, position, candidates, held, changes);
}

// Runs the search flat out or watched, as the controls say, to its end,
// switching at each change of them.
static Step search_all(SearchState& search) {
    search.clock = PaceClock{0, 0, flat_out, true, 0};
    Step step = search_watched() ? fill_from<true>(search, 0, 0) : fill_from<false>(search, 0, 0);
    while (step.outcome == Outcome::interrupted) {
        uint8_t requests =
            game_state.stop_requested.fetch_and((uint8_t)~stop_flat_out, std::memory_order_acquire);
        if (requests & stop_search) return {Outcome::stopped, step.changes};
        pace_show_head(step.changes);
        search.houses = search.order.given;
        step = pick_up(search, 0, step.changes);
    }
    return step;
}

bool solve_from(int previous) {
    SearchState search = {};
    uint8_t cells[board_cells];
    for (int i = 0; i < board_cells; i++) cells[i] = (uint8_t)cell_value(i);
    order_search(cells, previous, &search.order);
    search.houses = search.order.given;
    Step step = search_all(search);
    pace_search_ended(step.changes, search.made);
    // No digit placed by a stopped search stays.
    if (step.outcome == Outcome::stopped) {
        for (int i = 0; i < search.order.open_count; i++)
            set_cell_value(search.order.open[i].index, 0);
    }
    return step.outcome == Outcome::solved;
}

int solver_thread_main() {
    // The screen comes first: the search gets what the drawing leaves.
    platform_lower_solver_thread_priority();
    Strategy strategy = (Strategy)watch_shared.strategy.load(std::memory_order_relaxed);
    bool solved = strategy == Strategy::in_order ? solve_from(-1) : solve_with_strategy(strategy);
    // The board is back to its givens before the flags say so; clearing
    // solver_running last (release) hands the board back to the main thread
    // with every write of the search visible.
    if (!solved) clear_non_givens();
    game_state.stop_requested.store(0, std::memory_order_relaxed);
    game_state.solver_running.store(false, std::memory_order_release);
    return 0;
}

#include "game/solver.h"

#include "game/game_state.h"
#include "game/search_pace.h"
#include "game/search_record.h"
#include "game/watch.h"
#include "platform/platform.h"

uint64_t solver_steps;

// Bit d stands for digit d; bit 0 is never a candidate, so an empty cell
// removes nothing.
static const unsigned all_digits = 1022;

// A cell that was empty when the search started, with the units it lies in.
struct OpenCell {
    uint8_t index, row, column, box;
};

// What the search keeps beside the board: the digits each row, column and box
// holds now, the open cells in row-major order, and for each open cell up to
// the current one the digits still to try and the digit it holds. Every open
// cell after the current one is empty, so the next open cell is the next one
// to fill, as a scan of the board would find it.
struct SearchState {
    unsigned row_digits[9];
    unsigned column_digits[9];
    unsigned box_digits[9];
    OpenCell open[board_cells];
    unsigned left[board_cells];
    uint8_t digit[board_cells];
    int open_count;
    int position;
    // The step of `position` was counted but its candidates are not known yet.
    bool entering;
    uint64_t changes;
};

// Ends the step that reached `position`: true when the board is full.
static bool enter(SearchState& search, int position) {
    search.entering = false;
    if (position == search.open_count) return true;
    const OpenCell cell = search.open[position];
    search.left[position] =
        all_digits & ~(search.row_digits[cell.row] | search.column_digits[cell.column] |
                       search.box_digits[cell.box]);
    search.digit[position] = 0;
    return false;
}

enum class SearchEnd : uint8_t { solved, exhausted, interrupted };

// The search from `search.position` on. Each step moves to the next open cell
// and tries its digits, each written to the board as it is tried; a cell with
// none left is emptied and the search goes back one cell. A stop request, or
// one from the watch controls, interrupts it at the start of a step. Watched,
// each change waits for its turn first; flat out nothing but the request is
// looked at.
template <bool watched> static SearchEnd search_on(SearchState& search, PaceClock& clock) {
    int position = search.position;
    uint64_t changes = search.changes;
    uint64_t steps = 0;
    SearchEnd end;
    for (;;) {
        const OpenCell cell = search.open[position];
        int held = search.digit[position];
        unsigned candidates = search.left[position];
        // A cell with no digit to try stays empty: no change to wait for.
        if (watched && (held | candidates)) {
            // At a stop the request is still set; flat out picks up here.
            if (pace_gate(clock, changes) != Gate::go) {
                end = SearchEnd::interrupted;
                break;
            }
        }
        unsigned& row = search.row_digits[cell.row];
        unsigned& column = search.column_digits[cell.column];
        unsigned& box = search.box_digits[cell.box];
        // The held digit was not in these units before this cell took it.
        unsigned held_bit = (1u << held) & all_digits;
        row ^= held_bit;
        column ^= held_bit;
        box ^= held_bit;
        if (candidates == 0) {
            search.digit[position] = 0;
            set_cell_value(cell.index, 0);
            if (held) {
                record_change(changes, make_change(cell.index, held, 0));
                if (watched) pace_changed(changes, cell.index);
            }
            if (--position < 0) {
                end = SearchEnd::exhausted;
                break;
            }
            continue;
        }
        // The lowest bit left is the smallest digit left.
        unsigned digit_bit = candidates & (0u - candidates);
        search.left[position] = candidates ^ digit_bit;
        row |= digit_bit;
        column |= digit_bit;
        box |= digit_bit;
        int digit = __builtin_ctz(digit_bit);
        search.digit[position] = (uint8_t)digit;
        set_cell_value(cell.index, digit);
        record_change(changes, make_change(cell.index, held, digit));
        if (watched) pace_changed(changes, cell.index);

        position++;
        steps++;
        if (uint8_t requests = game_state.stop_requested.load(std::memory_order_relaxed)) {
            // After a stop every step fails at once, and the search empties
            // its cells as it would after trying every digit.
            if (requests & stop_search) {
                position--;
                continue;
            }
            search.entering = true;
            end = SearchEnd::interrupted;
            break;
        }
        if (enter(search, position)) {
            end = SearchEnd::solved;
            break;
        }
    }
    search.position = position;
    search.changes = changes;
    solver_steps += steps;
    return end;
}

// A flat-out run tells the watch nothing until it ends or is interrupted.
static void show_head(uint64_t changes) {
    if (changes > 0) pace_changed(changes, change_cell(recorded_change(changes - 1)));
}

// Runs the search flat out or watched, as the controls say, switching at
// every request, to its end.
static bool search_all(SearchState& search) {
    PaceClock clock = {0, 0, flat_out, true, 0};
    for (;;) {
        uint8_t requests =
            game_state.stop_requested.fetch_and((uint8_t)~stop_flat_out, std::memory_order_acquire);
        if (requests & stop_search) return false;
        if (search.entering && enter(search, search.position)) return true;
        SearchEnd end =
            search_watched() ? search_on<true>(search, clock) : search_on<false>(search, clock);
        if (end != SearchEnd::interrupted) return end == SearchEnd::solved;
        show_head(search.changes);
    }
}

bool solve_from(int previous) {
    SearchState search = {};
    for (int index = 0; index < board_cells; index++) {
        int row = index / 9;
        int column = index % 9;
        int box = 3 * (row / 3) + column / 3;
        int32_t value = cell_value(index);
        // Conflicting givens only add bits that are set already.
        search.row_digits[row] |= 1u << value;
        search.column_digits[column] |= 1u << value;
        search.box_digits[box] |= 1u << value;
        if (value == 0 && index > previous) {
            search.open[search.open_count++] = {(uint8_t)index, (uint8_t)row, (uint8_t)column,
                                                (uint8_t)box};
        }
    }
    // The first step is the one that reaches the first open cell.
    solver_steps++;
    search.entering = true;
    bool solved = search_all(search);
    for (int i = 0; i < board_cells; i++) search_record.last_cells[i] = (uint8_t)cell_value(i);
    search_record.count.store(search.changes, std::memory_order_relaxed);
    show_head(search.changes);
    return solved;
}

int solver_thread_main() {
    // The screen comes first: the search gets what the drawing leaves.
    platform_lower_solver_thread_priority();
    bool solved = solve_from(-1);
    // The board is back to its givens before the flags say so; clearing
    // solver_running last (release) hands the board back to the main thread
    // with every write of the search visible.
    if (!solved) clear_non_givens();
    game_state.stop_requested.store(0, std::memory_order_relaxed);
    game_state.solver_running.store(false, std::memory_order_release);
    return 0;
}

bool start_search() {
    leave_replay();
    game_state.selected_digit = 0;
    game_state.eraser_selected = false;
    clear_non_givens();
    watch_reset();
    // A stop pressed after the last search had cleared its flag must not end this one.
    game_state.stop_requested.store(0, std::memory_order_relaxed);
    game_state.solver_running.store(true, std::memory_order_relaxed);
    if (platform_start_detached(solver_thread_main)) return true;
    game_state.solver_running.store(false, std::memory_order_relaxed);
    return false;
}

// Undo and redo of the givens in a fixed ring of their last states.
#include "game/board/givens_history.h"

#include <cstring>

#include "game/board/game_state.h"

// One state more than steps: the oldest one is where undo stops.
constexpr int ring_size = history_steps + 1;

struct GivensHistory {
    // The givens of each state, 0 for a cell without one.
    uint8_t states[ring_size][board_cells];
    int32_t current; // the slot of the board's state
    int32_t undo_left;
    int32_t redo_left;
};

static GivensHistory history;

// The board becomes exactly that state: solver digits go as after any change
// of the givens; the palette selection stays.
static void apply_current() {
    const uint8_t* state = history.states[history.current];
    for (int i = 0; i < board_cells; i++) {
        set_cell_value(i, state[i]);
        game_state.board.given[i] = state[i] != 0;
    }
    mark_givens_changed();
}

void history_start() {
    history.current = 0;
    history.undo_left = 0;
    history.redo_left = 0;
    read_givens(history.states[0]);
}

void note_givens_change() {
    uint8_t now[board_cells];
    read_givens(now);
    // Nothing changed: the save and the last search's record stay as they are.
    if (memcmp(now, history.states[history.current], board_cells) == 0) return;
    mark_givens_changed();
    history.current = (history.current + 1) % ring_size;
    memcpy(history.states[history.current], now, board_cells);
    history.redo_left = 0;
    if (history.undo_left < history_steps) history.undo_left++;
}

bool can_undo_givens() {
    return history.undo_left > 0;
}

bool can_redo_givens() {
    return history.redo_left > 0;
}

bool undo_givens() {
    if (history.undo_left == 0) return false;
    history.current = (history.current + ring_size - 1) % ring_size;
    history.undo_left--;
    history.redo_left++;
    apply_current();
    return true;
}

bool redo_givens() {
    if (history.redo_left == 0) return false;
    history.current = (history.current + 1) % ring_size;
    history.redo_left--;
    history.undo_left++;
    apply_current();
    return true;
}

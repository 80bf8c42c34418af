// The one game state: the board, its givens and the few shared fields.
#include "game/board/game_state.h"

#include <cstring>

GameState game_state;

void clear_all() {
    clear_values();
    memset(game_state.board.given, 0, sizeof(game_state.board.given));
    game_state.selected_digit = 0;
}

// Includes the sentinel, which must stay 0.
void clear_values() {
    for (int i = 0; i <= board_cells; i++) set_cell_value(i, 0);
}

void mark_givens_changed() {
    game_state.givens_changed = true;
    game_state.givens_edits++;
}

void clear_non_givens() {
    for (int i = 0; i < board_cells; i++) {
        if (!game_state.board.given[i]) set_cell_value(i, 0);
    }
}

void set_givens_from(const uint8_t cells[board_cells]) {
    clear_all();
    game_state.eraser_selected = false;
    for (int i = 0; i < board_cells; i++) {
        if (cells[i] == 0) continue;
        set_cell_value(i, cells[i]);
        game_state.board.given[i] = 1;
    }
}

void read_givens(uint8_t out[board_cells]) {
    for (int i = 0; i < board_cells; i++)
        out[i] = game_state.board.given[i] ? (uint8_t)cell_value(i) : 0;
}

int filled_by_search(const uint8_t* values) {
    int filled = 0;
    for (int i = 0; i < board_cells; i++) {
        int value = values ? values[i] : cell_value(i);
        if (!game_state.board.given[i] && value != 0) filled++;
    }
    return filled;
}

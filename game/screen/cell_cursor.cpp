// The cell cursor: moving it, and typing givens at it.
#include "game/screen/cell_cursor.h"

#include "game/board/game_state.h"
#include "game/board/givens_history.h"
#include "game/watch/watch.h"

static int clamp_to_board(int line) {
    return line < 0 ? 0 : line > 8 ? 8 : line;
}

void move_cursor(int across, int down) {
    // Typing does nothing while a search runs, so the cursor neither shows nor moves.
    if (game_state.solver_running.load(std::memory_order_acquire)) return;
    if (!game_state.cursor_shown) {
        game_state.cursor_shown = true;
        return;
    }
    int column = clamp_to_board(game_state.cursor_cell % 9 + across);
    int row = clamp_to_board(game_state.cursor_cell / 9 + down);
    game_state.cursor_cell = 9 * row + column;
}

static void set_cursor_cell(int digit) {
    int index = game_state.cursor_cell;
    set_cell_value(index, digit);
    game_state.board.given[index] = digit != 0;
    note_givens_change();
}

void type_digit(int digit) {
    if (!game_state.cursor_shown) {
        // As a click on a palette digit that is not selected.
        if (digit != 0 && !game_state.solver_running.load(std::memory_order_acquire))
            game_state.selected_digit = digit;
        return;
    }
    if (!begin_board_edit()) return;
    set_cursor_cell(digit);
    if (digit != 0) game_state.selected_digit = digit;
    if (game_state.cursor_cell < board_cells - 1) game_state.cursor_cell++;
}

void erase_cursor_cell() {
    if (!game_state.cursor_shown || !begin_board_edit()) return;
    set_cursor_cell(0);
}

void erase_back() {
    if (!game_state.cursor_shown || game_state.cursor_cell == 0 || !begin_board_edit()) return;
    game_state.cursor_cell--;
    set_cursor_cell(0);
}

void hide_cursor() {
    game_state.cursor_shown = false;
    game_state.selected_digit = 0;
    game_state.eraser_selected = false;
}

#include "game/pointer_input.h"

#include "game/game_state.h"
#include "game/givens_history.h"
#include "game/layout.h"
#include "game/solver.h"
#include "game/watch.h"

// Half-sizes of the clickable boxes.
static constexpr Vec2 small_half = {small_button_size.x / 2, small_button_size.y / 2};
static constexpr Vec2 wide_half = {wide_button_hit_size.x / 2, wide_button_hit_size.y / 2};
static constexpr float cell_half = cell_size / 2;

bool point_in_box(float x, float y, Vec2 centre, float half_width, float half_height) {
    return centre.x - half_width <= x && x <= centre.x + half_width &&
           centre.y - half_height <= y && y <= centre.y + half_height;
}

static void click_cell(int index) {
    int32_t digit = game_state.selected_digit;
    if (digit == 0 || cell_value(index) == digit) {
        set_cell_value(index, 0);
        game_state.board.given[index] = 0;
        return;
    }
    set_cell_value(index, digit);
    game_state.board.given[index] = 1;
}

void handle_click(bool pressed, float x, float y) {
    if (!pressed) return;
    const GameLayout& layout = game_layout;
    bool in_solve = point_in_box(x, y, layout.solve_centre, wide_half.x, wide_half.y);
    // While a search runs it owns the board; only a stop request gets through.
    if (game_state.solver_running.load(std::memory_order_acquire)) {
        if (in_solve) game_state.stop_requested.fetch_or(stop_search, std::memory_order_relaxed);
        return;
    }
    leave_replay();
    for (int k = 1; k <= 9; k++) {
        if (!point_in_box(x, y, layout.palette_centres[k - 1], small_half.x, small_half.y))
            continue;
        game_state.selected_digit = game_state.selected_digit == k ? 0 : k;
        return;
    }
    if (point_in_box(x, y, layout.eraser_centre, small_half.x, small_half.y)) {
        game_state.eraser_selected = !game_state.eraser_selected;
        game_state.selected_digit = 0;
        return;
    }
    // Shared edges belong to the lower cell index.
    for (int i = 0; i < board_cells; i++) {
        if (!point_in_box(x, y, layout.cell_centres[i], cell_half, cell_half)) continue;
        // Typing goes on from the cell last clicked.
        game_state.cursor_cell = i;
        click_cell(i);
        note_givens_change();
        return;
    }
    if (point_in_box(x, y, layout.clear_centre, wide_half.x, wide_half.y)) {
        clear_all();
        note_givens_change();
        return;
    }
    if (in_solve) start_search();
}

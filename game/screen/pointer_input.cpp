// Mouse presses on the palette, the board and the buttons.
#include "game/screen/pointer_input.h"

#include "game/board/game_state.h"
#include "game/board/givens_history.h"
#include "game/board/notice.h"
#include "game/screen/layout.h"
#include "game/watch/watch.h"

// Half-sizes of the clickable boxes.
static constexpr Vec2 small_half = {small_button_size.x / 2, small_button_size.y / 2};
static constexpr Vec2 wide_half = {wide_button_hit_size.x / 2, wide_button_hit_size.y / 2};
static constexpr float cell_half = cell_size / 2;

bool point_in_box(float x, float y, Vec2 centre, float half_width, float half_height) {
    return centre.x - half_width <= x && x <= centre.x + half_width &&
           centre.y - half_height <= y && y <= centre.y + half_height;
}

// The given a click on the cell leaves there, 0 for none.
static int32_t given_after_click(int index) {
    int32_t digit = game_state.selected_digit;
    return digit == 0 || cell_value(index) == digit ? 0 : digit;
}

static void click_cell(int index) {
    int32_t digit = given_after_click(index);
    set_cell_value(index, digit);
    game_state.board.given[index] = digit != 0;
}

// The cell under the point, -1 for none; shared edges belong to the lower index.
static int cell_at(float x, float y) {
    for (int i = 0; i < board_cells; i++) {
        if (point_in_box(x, y, game_layout.cell_centres[i], cell_half, cell_half)) return i;
    }
    return -1;
}

void handle_click(bool pressed, float x, float y) {
    if (!pressed) return;
    const GameLayout& layout = game_layout;
    bool in_solve = point_in_box(x, y, layout.solve_centre, wide_half.x, wide_half.y);
    // While a search runs it owns the board; only a stop request gets through.
    if (game_state.solver_running.load(std::memory_order_acquire)) {
        if (in_solve) stop_running_search();
        if (point_in_box(x, y, layout.clear_centre, wide_half.x, wide_half.y))
            post_notice("Clear waits for the search: Stop or Escape first");
        return;
    }
    int cell = cell_at(x, y);
    // A cell click that changes no given keeps a replay on screen.
    if (cell >= 0 && replay_showing() &&
        given_after_click(cell) == (game_state.board.given[cell] ? cell_value(cell) : 0))
        return;
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
    if (cell >= 0) {
        // Typing goes on from the cell last clicked.
        game_state.cursor_cell = cell;
        click_cell(cell);
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

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "game/board/game_state.h"
#include "game/board/givens_history.h"
#include "game/screen/cell_cursor.h"
#include "game/screen/layout.h"
#include "game/screen/pointer_input.h"
#include "tests/unit/game_test_boards.h"

namespace {

class PointerInput : public ::testing::Test {
  protected:
    void SetUp() override {
        compute_layout(540, 960, &game_layout);
        reset_game_state();
    }
};

void click(Vec2 point) {
    handle_click(true, point.x, point.y);
}
Vec2 palette(int digit) {
    return game_layout.palette_centres[digit - 1];
}
Vec2 cell(int index) {
    return game_layout.cell_centres[index];
}

TEST(PointInBox, AllFourEdgesAreInside) {
    Vec2 centre = {100, 200};
    EXPECT_TRUE(point_in_box(40, 170, centre, 60, 30));
    EXPECT_TRUE(point_in_box(160, 230, centre, 60, 30));
    EXPECT_FALSE(point_in_box(nextafterf(40, 0), 200, centre, 60, 30));
    EXPECT_FALSE(point_in_box(nextafterf(160, 1000), 200, centre, 60, 30));
    EXPECT_FALSE(point_in_box(100, nextafterf(170, 0), centre, 60, 30));
    EXPECT_FALSE(point_in_box(100, nextafterf(230, 1000), centre, 60, 30));
}

TEST_F(PointerInput, PaletteAndEraser) {
    click(palette(5));
    EXPECT_EQ(game_state.selected_digit, 5);
    click(palette(5));
    EXPECT_EQ(game_state.selected_digit, 0);
    click(palette(5));
    click(palette(7));
    EXPECT_EQ(game_state.selected_digit, 7);
    // Corner of the palette box for 9, just inside.
    click({palette(9).x + 30, palette(9).y + 30});
    EXPECT_EQ(game_state.selected_digit, 9);

    click(game_layout.eraser_centre);
    EXPECT_TRUE(game_state.eraser_selected);
    EXPECT_EQ(game_state.selected_digit, 0);
    // Picking a digit keeps the eraser mark; the screen hides it while a digit is selected.
    click(palette(3));
    EXPECT_TRUE(game_state.eraser_selected);
    EXPECT_EQ(game_state.selected_digit, 3);
    click(game_layout.eraser_centre);
    EXPECT_FALSE(game_state.eraser_selected);
    EXPECT_EQ(game_state.selected_digit, 0);
}

TEST_F(PointerInput, CellsTakeRemoveAndReplaceDigits) {
    click(palette(5));
    click(cell(10));
    EXPECT_EQ(cell_value(10), 5);
    EXPECT_EQ(game_state.board.given[10], 1);
    // The same digit again empties the cell.
    click(cell(10));
    EXPECT_EQ(cell_value(10), 0);
    EXPECT_EQ(game_state.board.given[10], 0);

    // A given 3 and a solver 3 both become given 5s.
    set_cell_value(20, 3);
    game_state.board.given[20] = 1;
    set_cell_value(21, 3);
    click(cell(20));
    click(cell(21));
    EXPECT_EQ(cell_value(20), 5);
    EXPECT_EQ(cell_value(21), 5);
    EXPECT_EQ(game_state.board.given[21], 1);

    // With no digit selected a click empties any cell.
    click(palette(5));
    set_cell_value(22, 8);
    click(cell(20));
    click(cell(22));
    click(cell(23));
    EXPECT_EQ(board_text().substr(18, 9), "...5.....");
    EXPECT_EQ(game_state.board.given[20], 0);
    EXPECT_EQ(game_state.board.given[21], 1);
    EXPECT_EQ(cell_value(81), 0);
}

TEST_F(PointerInput, SharedEdgesGoToTheLowerCell) {
    click(palette(4));
    // The line between cells 0 and 1.
    click({95, 200});
    EXPECT_EQ(cell_value(0), 4);
    EXPECT_EQ(cell_value(1), 0);
    // The corner of cells 10, 11, 19 and 20.
    click({145, 275});
    EXPECT_EQ(cell_value(10), 4);
    EXPECT_EQ(board_text(), "4.........4" + std::string(70, '.'));
    // The outer grid edge still belongs to the last cell.
    click({495, 625});
    EXPECT_EQ(cell_value(80), 4);
}

TEST_F(PointerInput, ClearTakesClicksBesideItsPanel) {
    reset_with_puzzle(long_puzzle());
    set_cell_value(1, 6);
    game_state.selected_digit = 2;
    game_state.eraser_selected = true;
    Vec2 centre = game_layout.clear_centre;
    // The panel's left edge is 55 left of the centre; the box reaches 60.
    click({centre.x - 61, centre.y});
    EXPECT_EQ(board_text().substr(0, 2), "96");
    click({centre.x - 58, centre.y});
    EXPECT_EQ(board_text(), std::string(81, '.'));
    EXPECT_EQ(givens_count(), 0);
    EXPECT_EQ(game_state.selected_digit, 0);
    EXPECT_TRUE(game_state.eraser_selected);
}

TEST_F(PointerInput, ReleasesAndEmptySpaceDoNothing) {
    click(palette(6));
    handle_click(false, cell(0).x, cell(0).y);
    handle_click(false, palette(6).x, palette(6).y);
    handle_click(false, game_layout.eraser_centre.x, game_layout.eraser_centre.y);
    handle_click(false, game_layout.solve_centre.x, game_layout.solve_centre.y);
    click({5, 5});
    click({270, 880});
    EXPECT_EQ(game_state.selected_digit, 6);
    EXPECT_FALSE(game_state.eraser_selected);
    EXPECT_FALSE(game_state.solver_running.load());
    EXPECT_EQ(board_text(), std::string(81, '.'));
}

TEST_F(PointerInput, SolveStartsASearchWithoutOldSolverDigits) {
    // A given 1 where the search would put one, and an old solver 9 beside it
    // that would change the result if it stayed.
    set_cell_value(0, 1);
    game_state.board.given[0] = 1;
    set_cell_value(1, 9);
    game_state.selected_digit = 1;
    game_state.eraser_selected = true;
    click(game_layout.solve_centre);
    EXPECT_EQ(game_state.selected_digit, 0);
    EXPECT_FALSE(game_state.eraser_selected);
    ASSERT_TRUE(wait_for_solver(10));
    EXPECT_EQ(board_text(), empty_board_solution());
    EXPECT_EQ(game_state.board.given[0], 1);
    EXPECT_EQ(givens_count(), 1);
    EXPECT_FALSE(game_state.stop_requested.load());
}

TEST_F(PointerInput, OnlyStopReactsWhileASearchRuns) {
    reset_with_puzzle(long_puzzle());
    game_state.eraser_selected = true;
    click(game_layout.solve_centre);
    ASSERT_TRUE(game_state.solver_running.load(std::memory_order_acquire));
    click(palette(2));
    click(game_layout.eraser_centre);
    click(cell(0));
    click(cell(1));
    click(game_layout.clear_centre);
    EXPECT_EQ(game_state.selected_digit, 0);
    EXPECT_FALSE(game_state.eraser_selected);
    EXPECT_EQ(cell_value(0), 9);
    EXPECT_EQ(givens_count(), 17);
    EXPECT_FALSE(game_state.stop_requested.load());

    click(game_layout.solve_centre);
    ASSERT_TRUE(wait_for_solver(10));
    EXPECT_EQ(board_text(), long_puzzle());
    EXPECT_FALSE(game_state.stop_requested.load());
}

TEST_F(PointerInput, UndoRedoAndTheCellCursor) {
    history_start();
    game_state.cursor_shown = false;
    click(palette(5));
    click(cell(3));
    // The cursor appears on the cell last clicked and stops at the edges.
    move_cursor(1, 0);
    move_cursor(0, -1);
    move_cursor(-1, 0);
    EXPECT_EQ(game_state.cursor_cell, 2);
    for (int i = 0; i < 9; i++) move_cursor(1, 1);
    EXPECT_EQ(game_state.cursor_cell, 80);
    // A typed digit moves on to the next row at the end of one; 0 empties.
    move_cursor(-1, -8);
    type_digit(7);
    type_digit(0);
    EXPECT_EQ(game_state.cursor_cell, 9);
    EXPECT_EQ(game_state.selected_digit, 7);
    const std::string typed = "...5...7" + std::string(73, '.');
    EXPECT_EQ(board_text(), typed);
    uint8_t pasted[board_cells] = {1, 2};
    set_givens_from(pasted);
    note_givens_change();
    click(game_layout.clear_centre);

    // Clear and the paste undo as a whole, then the 0 (no step), the 7, the click.
    EXPECT_TRUE(undo_givens());
    EXPECT_EQ(board_text(), "12" + std::string(79, '.'));
    EXPECT_TRUE(undo_givens());
    EXPECT_EQ(board_text(), typed);
    EXPECT_TRUE(undo_givens());
    EXPECT_TRUE(undo_givens());
    EXPECT_FALSE(undo_givens());
    EXPECT_EQ(board_text(), std::string(81, '.'));
    EXPECT_TRUE(game_state.givens_changed);
    EXPECT_TRUE(redo_givens());
    EXPECT_EQ(board_text(), "...5" + std::string(77, '.'));
    // A change after an undo drops what could be redone.
    type_digit(4);
    EXPECT_FALSE(redo_givens());
    EXPECT_EQ(board_text(), "...5.....4" + std::string(71, '.'));
    erase_back();
    EXPECT_EQ(givens_count(), 1);

    // The bound: the oldest steps fall off the ring.
    for (int i = 0; i < history_steps + 5; i++) type_digit(1 + i % 2);
    int undone = 0;
    while (undo_givens()) undone++;
    EXPECT_EQ(undone, history_steps);
    // Back to the fifth digit typed, on cells 9 to 13.
    EXPECT_EQ(board_text().substr(0, 15), "...5.....12121.");
}

} // namespace

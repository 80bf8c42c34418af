#include <gtest/gtest.h>

#include <pthread.h>
#include <string>

#include "game/board/game_state.h"
#include "game/search/solver.h"
#include "game/watch/watch.h"
#include "tests/unit/game_test_boards.h"

namespace {

// The givens of the board as text, solver digits shown as '.'.
std::string givens_text() {
    std::string text;
    for (int i = 0; i < board_cells; i++) {
        int32_t v = cell_value(i);
        text += game_state.board.given[i] && v ? (char)('0' + v) : '.';
    }
    return text;
}

// Every row, column and box holds each digit once.
bool is_valid_solution(const std::string& board) {
    for (int unit = 0; unit < 9; unit++) {
        int rows = 0, columns = 0, boxes = 0;
        for (int k = 0; k < 9; k++) {
            int box_cell = 27 * (unit / 3) + 3 * (unit % 3) + 9 * (k / 3) + k % 3;
            rows |= 1 << (board[9 * unit + k] - '0');
            columns |= 1 << (board[unit + 9 * k] - '0');
            boxes |= 1 << (board[box_cell] - '0');
        }
        if (rows != 1022 || columns != 1022 || boxes != 1022) return false;
    }
    return true;
}

TEST(Solver, EmptyBoardGivesTheFirstCompletion) {
    reset_game_state();
    EXPECT_TRUE(solve_from(-1));
    EXPECT_EQ(board_text(), empty_board_solution());
    EXPECT_EQ(cell_value(81), 0);
    EXPECT_EQ(givens_text(), std::string(81, '.'));
}

TEST(Solver, AntiBruteForcePuzzleTakesTheExpectedSteps) {
    reset_with_puzzle(anti_brute_force_puzzle());
    uint64_t steps_before = solver_steps;
    ASSERT_TRUE(solve_from(-1));
    EXPECT_EQ(solver_steps - steps_before, 69175317u);
    std::string board = board_text();
    EXPECT_EQ(board.substr(0, 9), "987654321");
    EXPECT_TRUE(is_valid_solution(board)) << board;
    // Givens kept, and only they are marked.
    EXPECT_EQ(givens_text(), anti_brute_force_puzzle());
    EXPECT_EQ(cell_value(81), 0);
}

TEST(Solver, GivensWithoutCandidatesFailBackToTheGivens) {
    const char* puzzle = no_candidates_puzzle();
    reset_with_puzzle(puzzle);
    uint64_t steps_before = solver_steps;
    EXPECT_FALSE(solve_from(-1));
    EXPECT_GT(solver_steps - steps_before, 4u);
    EXPECT_EQ(board_text(), puzzle);
    EXPECT_EQ(givens_text(), puzzle);
}

TEST(Solver, FullBoardCountsAsSolvedAndStaysAsItIs) {
    reset_with_puzzle(empty_board_solution());
    uint64_t steps_before = solver_steps;
    EXPECT_TRUE(solve_from(-1));
    EXPECT_EQ(solver_steps - steps_before, 1u);
    EXPECT_EQ(board_text(), empty_board_solution());

    // Conflicting givens are never compared with one another.
    const std::string all_ones(81, '1');
    reset_with_puzzle(all_ones.c_str());
    EXPECT_TRUE(solve_from(-1));
    EXPECT_EQ(board_text(), all_ones);
    EXPECT_EQ(givens_text(), all_ones);
}

TEST(Solver, WorkerCleansUpAStoppedSearchBeforeClearingItsFlags) {
    reset_with_puzzle(long_puzzle());
    // A solver digit left from an earlier search.
    set_cell_value(1, 4);
    game_state.solver_running.store(true);
    game_state.stop_requested.store(true);
    EXPECT_EQ(solver_thread_main(), 0);
    EXPECT_EQ(board_text(), long_puzzle());
    EXPECT_FALSE(game_state.solver_running.load());
    EXPECT_FALSE(game_state.stop_requested.load());

    // A search that succeeds keeps its digits.
    reset_game_state();
    game_state.solver_running.store(true);
    solver_thread_main();
    EXPECT_EQ(board_text(), empty_board_solution());
    EXPECT_FALSE(game_state.solver_running.load());
}

TEST(Solver, StartThatFailsClearsTheRunningFlagAgain) {
    reset_with_puzzle(long_puzzle());
    game_state.selected_digit = 5;
    game_state.stop_requested.store(true);
    // A default stack larger than the address space makes the thread start fail.
    pthread_attr_t previous_default, huge_stack;
    ASSERT_EQ(pthread_getattr_default_np(&previous_default), 0);
    ASSERT_EQ(pthread_attr_init(&huge_stack), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&huge_stack, (size_t)1 << 47), 0);
    ASSERT_EQ(pthread_setattr_default_np(&huge_stack), 0);
    bool started = start_search();
    ASSERT_EQ(pthread_setattr_default_np(&previous_default), 0);
    pthread_attr_destroy(&huge_stack);
    pthread_attr_destroy(&previous_default);

    EXPECT_FALSE(started);
    EXPECT_FALSE(game_state.solver_running.load());
    EXPECT_FALSE(game_state.stop_requested.load());
    EXPECT_EQ(game_state.selected_digit, 0);
    EXPECT_EQ(board_text(), long_puzzle());

    // Thread starts work again afterwards.
    reset_game_state();
    ASSERT_TRUE(start_search());
    ASSERT_TRUE(wait_for_solver(10));
    EXPECT_EQ(board_text(), empty_board_solution());
}

} // namespace

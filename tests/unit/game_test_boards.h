// Boards and helpers shared by the game tests (unit and thread tests).
#pragma once

#include <chrono>
#include <string>
#include <thread>

#include "game/board/game_state.h"

// The first completion of an empty board, row by row.
inline const char* empty_board_solution() {
    return "123456789"
           "456789123"
           "789123456"
           "214365897"
           "365897214"
           "897214365"
           "531642978"
           "642978531"
           "978531642";
}

// Built against this search order: the first row must be tried almost to the end.
inline const char* anti_brute_force_puzzle() {
    return "..............3.85..1.2.......5.7.....4...1...9.......5......73..2.1........4...9";
}

// Two well-known hard puzzles: about a million and about nine thousand steps.
inline const char* platinum_blonde_puzzle() {
    return ".......12........3..23..4....18....5.6..7.8.......9.....85.....9...4.5..47...6...";
}
inline const char* ai_escargot_puzzle() {
    return "1....7.9..3..2...8..96..5....53..9...1..8...26....4...3......1..4......7..7...3..";
}

// Cell 3 sees 1-5 in its row, 6-8 in its column and 9 in its box: no
// candidates, so the cells before it are tried and emptied again.
inline const char* no_candidates_puzzle() {
    return "....12345"
           ".....9..."
           "........."
           "...6....."
           "...7....."
           "...8....."
           "........."
           "........."
           ".........";
}

// Over a billion steps: the search is still running when a test stops it.
inline const char* long_puzzle() {
    return "9..8...........5............2..1...3.1.....6....4...7.7.86.........3.1..4.....2..";
}

// Empty board, no selection, no eraser mark, flags clear.
inline void reset_game_state() {
    clear_all();
    game_state.eraser_selected = false;
    game_state.solver_running.store(false);
    game_state.stop_requested.store(false);
}

// A reset board holding the puzzle's 81 characters, digits as givens.
inline void reset_with_puzzle(const char* puzzle) {
    reset_game_state();
    for (int i = 0; i < board_cells; i++) {
        if (puzzle[i] < '1' || puzzle[i] > '9') continue;
        set_cell_value(i, puzzle[i] - '0');
        game_state.board.given[i] = 1;
    }
}

// The 81 values as digits, '.' for an empty cell.
inline std::string board_text() {
    std::string text;
    for (int i = 0; i < board_cells; i++) {
        int32_t v = cell_value(i);
        text += v ? (char)('0' + v) : '.';
    }
    return text;
}

inline int givens_count() {
    int count = 0;
    for (int i = 0; i < board_cells; i++) count += game_state.board.given[i];
    return count;
}

// Waits for the worker to clear solver_running; false after the timeout.
inline bool wait_for_solver(double seconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (game_state.solver_running.load(std::memory_order_acquire)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

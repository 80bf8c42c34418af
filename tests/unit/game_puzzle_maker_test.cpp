#include <gtest/gtest.h>

#include <set>
#include <string>

#include "game/board/solution_count.h"
#include "game/puzzles/puzzle_maker.h"
#include "game/search/strategies.h"
#include "game/search/solver.h"
#include "tests/unit/game_test_boards.h"

namespace {

struct Cells {
    uint8_t at[81];
};

Cells cells_of(const char* text) {
    Cells cells;
    for (int i = 0; i < 81; i++) cells.at[i] = text[i] >= '1' && text[i] <= '9' ? text[i] - '0' : 0;
    return cells;
}

std::string text_of(const uint8_t cells[81]) {
    std::string text;
    for (int i = 0; i < 81; i++) text += cells[i] ? (char)('0' + cells[i]) : '.';
    return text;
}

// The steps the program's own search counts on the board.
uint64_t real_steps(const uint8_t cells[81]) {
    reset_with_puzzle(text_of(cells).c_str());
    uint64_t before = solver_steps;
    solve_from(-1);
    return solver_steps - before;
}

bool same_unit(int a, int b) {
    return a / 9 == b / 9 || a % 9 == b % 9 || (a / 27 == b / 27 && a % 9 / 3 == b % 9 / 3);
}

bool givens_conflict(const uint8_t cells[81]) {
    for (int a = 0; a < 81; a++)
        for (int b = a + 1; b < 81; b++)
            if (cells[a] && cells[a] == cells[b] && same_unit(a, b)) return true;
    return false;
}

TEST(SolutionCount, KnownCounts) {
    // A solved grid with a digit repeated in a row and a box, then in a column only.
    Cells conflicting = cells_of(empty_board_solution());
    conflicting.at[1] = conflicting.at[0];
    EXPECT_EQ(count_solutions(conflicting.at, 2), 0);
    conflicting = cells_of(empty_board_solution());
    std::swap(conflicting.at[0], conflicting.at[1]);
    EXPECT_EQ(count_solutions(conflicting.at, 2), 0);
    EXPECT_EQ(count_solutions(cells_of(no_candidates_puzzle()).at, 2), 0);
    EXPECT_EQ(count_solutions(cells_of(ai_escargot_puzzle()).at, 2), 1);
    EXPECT_EQ(count_solutions(cells_of(platinum_blonde_puzzle()).at, 2), 1);
    EXPECT_EQ(count_solutions(cells_of(empty_board_solution()).at, 2), 1);
    Cells empty = {};
    EXPECT_EQ(count_solutions(empty.at, 1000), 1000);

    // A rectangle of two digits swapped in two boxes: the grid without its
    // four cells has exactly two completions.
    Cells grid = cells_of(empty_board_solution());
    bool found = false;
    for (int r1 = 0; r1 < 9 && !found; r1++)
        for (int r2 = r1 + 1; r2 < 9 && !found; r2++)
            for (int c1 = 0; c1 < 9 && !found; c1++)
                for (int c2 = c1 + 1; c2 < 9 && !found; c2++) {
                    if (r1 / 3 != r2 / 3 && c1 / 3 != c2 / 3) continue;
                    uint8_t* g = grid.at;
                    if (g[9 * r1 + c1] != g[9 * r2 + c2] || g[9 * r1 + c2] != g[9 * r2 + c1])
                        continue;
                    g[9 * r1 + c1] = g[9 * r1 + c2] = g[9 * r2 + c1] = g[9 * r2 + c2] = 0;
                    found = true;
                }
    ASSERT_TRUE(found);
    EXPECT_EQ(count_solutions(grid.at, 2), 2);
    EXPECT_EQ(count_solutions(grid.at, 1000), 2);
}

TEST(PuzzleMaker, MadePuzzlesAndTheirSearchLength) {
    // The count matches the program's search, also on givens that conflict
    // and on a board it cannot complete.
    Cells conflicting = cells_of(ai_escargot_puzzle());
    conflicting.at[1] = conflicting.at[0];
    MadePuzzle made_long;
    make_puzzle(PuzzleLength::long_search, 7, &made_long);
    const std::string empty(81, '.');
    Cells boards[] = {cells_of(empty.c_str()), cells_of(platinum_blonde_puzzle()), conflicting,
                      cells_of(no_candidates_puzzle()), cells_of(text_of(made_long.cells).c_str())};
    for (Cells& board : boards)
        EXPECT_EQ(search_plain(Strategy::in_order, board.at, ~0ull, 0).steps, real_steps(board.at)) << text_of(board.at);
    EXPECT_EQ(search_plain(Strategy::in_order, boards[0].at, ~0ull, 0).steps, 392u);
    EXPECT_EQ(search_plain(Strategy::in_order, boards[1].at, 1000, 0).steps, 1001u);

    for (int length = 0; length < puzzle_length_count; length++) {
        const LengthRange range = puzzle_lengths[length];
        std::set<std::string> seen;
        int count = length == (int)PuzzleLength::very_long ? 5 : 20;
        for (uint64_t seed = 1; seed <= (uint64_t)count; seed++) {
            MadePuzzle made;
            make_puzzle((PuzzleLength)length, seed, &made);
            std::string text = text_of(made.cells);
            SCOPED_TRACE(range.name + (": " + text));
            EXPECT_TRUE(seen.insert(text).second);
            EXPECT_FALSE(givens_conflict(made.cells));
            EXPECT_EQ(count_solutions(made.cells, 2), 1);
            for (int i = 0; i < 81; i++) {
                if (!made.cells[i]) continue;
                Cells fewer;
                std::copy(made.cells, made.cells + 81, fewer.at);
                fewer.at[i] = 0;
                EXPECT_EQ(count_solutions(fewer.at, 2), 2) << "given " << i << " is not needed";
            }
            EXPECT_GT(made.steps, range.least);
            EXPECT_LE(made.steps, range.most);
            EXPECT_EQ(search_plain(Strategy::in_order, made.cells, range.most, 0).steps, made.steps);
        }
    }
    MadePuzzle first, again;
    make_puzzle(PuzzleLength::medium, 3, &first);
    make_puzzle(PuzzleLength::medium, 3, &again);
    EXPECT_EQ(text_of(first.cells), text_of(again.cells));
}

} // namespace

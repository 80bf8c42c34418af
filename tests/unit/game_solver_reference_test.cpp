// The product's search against the reference search it replaced: the same
// steps, the same answer, the same board at the end, and on a few boards the
// same board writes one by one.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdint>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "game/board/game_state.h"
#include "game/search/search_order.h"
#include "game/search/search_pace.h"
#include "game/search/search_record.h"
#include "game/search/search_shared.h"
#include "game/search/solver.h"
#include "game/watch/search_strip.h"
#include "platform/platform.h"
#include "tests/unit/game_test_boards.h"
#include "tests/unit/reference_solver.h"

// Both searches compiled a second time, with their board writes recorded. The
// headers they include are included above, so the sources bring only their
// own definitions into these namespaces, and the unqualified set_cell_value
// in them finds the recording one below.
namespace recording {

std::vector<uint16_t> writes;
// Asks for a stop just after this many writes; 0 for never.
size_t stop_after_writes;
// Interrupts the search after every so many writes.
size_t interrupt_every_writes = SIZE_MAX;
// Or counts the writes that change a cell, and keeps the board after each
// change whose number is a key here, instead of keeping the writes.
size_t changes;
std::map<size_t, std::string>* boards_after;

inline void set_cell_value(int index, int32_t value) {
    bool changed = ::cell_value(index) != value;
    ::set_cell_value(index, value);
    if (boards_after) {
        if (!changed) return;
        auto board = boards_after->find(++changes);
        if (board != boards_after->end()) board->second = board_text();
        return;
    }
    writes.push_back((uint16_t)(10 * index + value));
    if (writes.size() == stop_after_writes) {
        game_state.stop_requested.store(true, std::memory_order_relaxed);
    }
    // The search leaves flat out and picks up again from the board, unseen.
    if (writes.size() % interrupt_every_writes == 0) {
        game_state.stop_requested.fetch_or(stop_flat_out, std::memory_order_relaxed);
    }
}

namespace product {
#include "game/search/solver.cpp"
}
namespace reference {
#include "tests/unit/reference_solver.cpp"
}

} // namespace recording

namespace {

struct Outcome {
    bool solved;
    uint64_t steps;
    std::string board;
    std::vector<uint16_t> writes;
};

Outcome run(const std::string& puzzle, bool (*search)(int), const uint64_t& steps,
            int previous = -1, size_t stop_after_writes = 0) {
    reset_with_puzzle(puzzle.c_str());
    recording::writes.clear();
    recording::stop_after_writes = stop_after_writes;
    uint64_t before = steps;
    bool solved = search(previous);
    game_state.stop_requested.store(false);
    return {solved, steps - before, board_text(), std::move(recording::writes)};
}

// A solved grid from the empty board's first completion: digits relabelled,
// rows swapped within their bands, bands swapped, and the same for columns.
std::string random_grid(std::mt19937& random) {
    int digit[10], rows[9], columns[9];
    for (int i = 0; i < 10; i++) digit[i] = i;
    for (int i = 9; i > 1; i--) std::swap(digit[i], digit[1 + random() % i]);
    for (int* order : {rows, columns}) {
        int bands[3] = {0, 1, 2};
        for (int i = 2; i > 0; i--) std::swap(bands[i], bands[random() % (i + 1)]);
        for (int band = 0; band < 3; band++) {
            int within[3] = {0, 1, 2};
            for (int i = 2; i > 0; i--) std::swap(within[i], within[random() % (i + 1)]);
            for (int k = 0; k < 3; k++) order[3 * band + k] = 3 * bands[band] + within[k];
        }
    }
    std::string grid(81, '.');
    for (int i = 0; i < board_cells; i++) {
        char c = empty_board_solution()[9 * rows[i / 9] + columns[i % 9]];
        grid[i] = (char)('0' + digit[c - '0']);
    }
    return grid;
}

// Random boards from a fixed seed: solved grids thinned out to between 26
// and 80 givens, some with one given changed (often no solution or
// conflicting givens), and many random digits scattered over an empty board.
std::vector<std::string> random_boards() {
    std::mt19937 random(20240611);
    std::vector<std::string> boards;
    for (int n = 0; n < 120; n++) {
        std::string board = random_grid(random);
        int keep = 26 + random() % 55;
        for (int removed = 0; removed < board_cells - keep;) {
            int i = random() % board_cells;
            if (board[i] == '.') continue;
            board[i] = '.';
            removed++;
        }
        if (n % 3 == 0) board[random() % board_cells] = (char)('1' + random() % 9);
        boards.push_back(board);
    }
    for (int n = 0; n < 40; n++) {
        std::string board(81, '.');
        // So many that the search fails soon; a few would leave conflicts
        // that take billions of steps to prove hopeless.
        int count = 35 + random() % 36;
        for (int k = 0; k < count; k++) {
            board[random() % board_cells] = (char)('1' + random() % 9);
        }
        boards.push_back(board);
    }
    return boards;
}

TEST(SolverSameness, ProductSearchMatchesTheReferenceStepForStep) {
    // Givens that leave cell 3 without candidates; the same with conflicting
    // givens before it; a full board of conflicts; the same with one cell open.
    const std::string no_candidates = no_candidates_puzzle();
    const std::string conflicts_before = "1.1." + no_candidates.substr(4);
    const std::string all_ones(81, '1');
    const std::string ones_but_one = "." + all_ones.substr(1);
    std::vector<std::string> boards = {std::string(81, '.'),
                                       anti_brute_force_puzzle(),
                                       platinum_blonde_puzzle(),
                                       ai_escargot_puzzle(),
                                       empty_board_solution(),
                                       no_candidates,
                                       conflicts_before,
                                       all_ones,
                                       ones_but_one};
    for (const std::string& board : random_boards()) boards.push_back(board);

    int solved = 0, failed = 0;
    for (size_t n = 0; n < boards.size(); n++) {
        const std::string& puzzle = boards[n];
        // A few searches start past the first cells, as solve_from allows: on
        // unchanged thinned grids (random boards 4, 16, 28, ...), where cells
        // left empty cannot take the completion away.
        bool starts_later = n >= 9 && n - 9 < 120 && (n - 9) % 12 == 4;
        int previous = starts_later ? (int)(n % 60) : -1;
        Outcome expected = run(puzzle, reference_solve_from, reference_steps, previous);
        Outcome actual = run(puzzle, solve_from, solver_steps, previous);
        EXPECT_EQ(actual.solved, expected.solved) << puzzle;
        EXPECT_EQ(actual.steps, expected.steps) << puzzle;
        EXPECT_EQ(actual.board, expected.board) << puzzle;
        (expected.solved ? solved : failed)++;
    }
    // The set holds both kinds.
    EXPECT_GT(solved, 40);
    EXPECT_GT(failed, 40);

    // Write for write, including where a stop comes and how the search unwinds.
    struct Recorded {
        std::string puzzle;
        size_t stop_after_writes;
        // Interrupts the search after every so many writes.
        size_t interrupt_every_writes = SIZE_MAX;
    };
    std::vector<Recorded> recorded = {{std::string(81, '.'), 0},
                                      {ai_escargot_puzzle(), 0},
                                      {platinum_blonde_puzzle(), 0},
                                      {no_candidates, 0},
                                      {conflicts_before, 0},
                                      {ones_but_one, 0},
                                      {all_ones, 0},
                                      {platinum_blonde_puzzle(), 1},
                                      {platinum_blonde_puzzle(), 2},
                                      {platinum_blonde_puzzle(), 1000},
                                      {platinum_blonde_puzzle(), 123457}};
    for (int n = 0; n < 6; n++) recorded.push_back({boards[9 + 20 * n], 0});
    for (const Recorded& r : recorded) {
        Outcome expected = run(r.puzzle, recording::reference::reference_solve_from,
                               recording::reference::reference_steps, -1, r.stop_after_writes);
        // Interrupted at every few writes, the product's search still does the same.
        recording::interrupt_every_writes = r.puzzle == ai_escargot_puzzle() ? 7 : SIZE_MAX;
        Outcome actual = run(r.puzzle, recording::product::solve_from,
                             recording::product::solver_steps, -1, r.stop_after_writes);
        recording::interrupt_every_writes = SIZE_MAX;
        EXPECT_EQ(actual.solved, expected.solved) << r.puzzle;
        EXPECT_EQ(actual.board, expected.board) << r.puzzle;
        if (r.stop_after_writes) {
            // The same writes up to the stop. The next step sees it: the
            // search may try one more digit on the way up, then goes straight
            // up and empties its cells, where the reference tries every digit.
            EXPECT_FALSE(actual.solved);
            EXPECT_EQ(actual.board, r.puzzle) << "a stop leaves only the givens";
            ASSERT_GE(actual.writes.size(), r.stop_after_writes);
            EXPECT_TRUE(std::equal(actual.writes.begin(),
                                   actual.writes.begin() + (long)r.stop_after_writes,
                                   expected.writes.begin()));
            EXPECT_LE(std::count_if(actual.writes.begin() + (long)r.stop_after_writes,
                                    actual.writes.end(), [](uint16_t w) { return w % 10 != 0; }),
                      1);
            EXPECT_LT(actual.steps, expected.steps);
            continue;
        }
        EXPECT_EQ(actual.steps, expected.steps) << r.puzzle;
        EXPECT_TRUE(actual.writes == expected.writes)
            << r.puzzle << ": " << actual.writes.size() << " writes against "
            << expected.writes.size();
    }
}

// The record against the boards the search showed: every change held, the
// board taken back to any point of it and forward again; a search too long
// for the record holds its newest changes, Home its oldest state.
TEST(SolverSameness, RecordTakesTheBoardBackToAnyChangeItHolds) {
    for (const char* puzzle : {platinum_blonde_puzzle(), anti_brute_force_puzzle()}) {
        reset_with_puzzle(puzzle);
        ASSERT_TRUE(solve_from(-1));
        uint64_t count = search_record.count.load();
        uint64_t oldest = record_oldest(count);
        EXPECT_EQ(oldest > 0, puzzle == anti_brute_force_puzzle()) << count;
        std::map<size_t, std::string> boards = {
            {oldest, ""}, {oldest + 1, ""}, {(oldest + count) / 2, ""}, {count - 1, ""}};
        reset_with_puzzle(puzzle);
        recording::changes = 0;
        recording::boards_after = &boards;
        EXPECT_TRUE(recording::product::solve_from(-1));
        recording::boards_after = nullptr;
        EXPECT_EQ(recording::changes, count);
        if (oldest == 0) boards[0] = puzzle;

        uint8_t cells[board_cells];
        memcpy(cells, search_record.last_cells, sizeof(cells));
        auto write_cell = [&](int cell, int value) { cells[cell] = (uint8_t)value; };
        auto text = [&] {
            std::string board;
            for (uint8_t v : cells) board += v ? (char)('0' + v) : '.';
            return board;
        };
        EXPECT_EQ(text(), board_text()) << "End: the last state";
        uint64_t at = count;
        for (auto board = boards.rbegin(); board != boards.rend(); ++board) {
            record_move(at, board->first, write_cell);
            at = board->first;
            EXPECT_EQ(text(), board->second) << "after change " << at;
        }
        record_move(at, count, write_cell);
        EXPECT_EQ(text(), board_text()) << "back to End";

        // The strip's runs against the depths walked from the oldest state.
        int given = 0, last_depth = 0;
        for (int i = 0; i < board_cells; i++) {
            given += puzzle[i] != '.';
            last_depth += puzzle[i] == '.' && cells[i] != 0;
        }
        record_move(count, oldest, write_cell);
        int depth = 0;
        for (int i = 0; i < board_cells; i++) depth += puzzle[i] == '.' && cells[i] != 0;
        strip_from_record(oldest, count, last_depth);
        uint64_t run = search_strip.run_length;
        EXPECT_LE(count - oldest, run * strip_runs);
        std::vector<int> depths;
        for (uint64_t k = oldest; k < count; k++) {
            depth += change_depth_step(recorded_change(k));
            depths.push_back(depth);
        }
        EXPECT_EQ(depths.back(), last_depth);
        for (uint64_t from = oldest; from < count; from += run * 97) {
            uint64_t to = std::min(count, from + run * 5);
            int low, high;
            ASSERT_TRUE(strip_depths(from, to, &low, &high));
            auto first = depths.begin() + (long)(from - oldest);
            auto last = depths.begin() + (long)(to - oldest);
            EXPECT_EQ(low, *std::min_element(first, last)) << from;
            EXPECT_EQ(high, *std::max_element(first, last)) << from;
            EXPECT_GE(low, 0);
            EXPECT_LE(high, board_cells - given);
        }
        // A live search takes its changes in as they come, and ends the same.
        if (oldest == 0) {
            SearchStrip whole = search_strip;
            strip_start(0, 0);
            for (uint64_t to = 0; to < count; to += 77777) strip_take_changes(to);
            strip_take_changes(count);
            EXPECT_EQ(search_strip.run_length, whole.run_length);
            EXPECT_EQ(
                memcmp(search_strip.runs, whole.runs, sizeof(whole.runs[0]) * whole.runs_used), 0);
        }
    }
}

} // namespace

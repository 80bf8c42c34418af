// The four ways of searching against a plain reading of their definitions,
// written here apart from the program: steps and changes on a dozen boards,
// and the first hundred changes the window's search records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/board/game_state.h"
#include "game/search/search_record.h"
#include "game/search/solver.h"
#include "game/search/strategies.h"
#include "tests/unit/game_test_boards.h"

namespace {

struct Definition {
    int board[81];
    Strategy strategy;
    uint64_t steps = 0;
    std::vector<std::vector<int>> changes; // cell, before, after
};

// The cells of a house: rows 0-8, columns 9-17, boxes 18-26.
int house_cell(int house, int k) {
    int i = house % 9;
    if (house < 9) return 9 * i + k;
    if (house < 18) return 9 * k + i;
    return 27 * (i / 3) + 3 * (i % 3) + 9 * (k / 3) + k % 3;
}

bool allowed(const Definition& d, int cell, int digit) {
    for (int k = 0; k < 9; k++) {
        int row = 9 * (cell / 9) + k, column = 9 * k + cell % 9;
        int box = 27 * (cell / 27) + 3 * (cell % 9 / 3) + 9 * (k / 3) + k % 3;
        if (d.board[row] == digit || d.board[column] == digit || d.board[box] == digit)
            return false;
    }
    return true;
}

std::vector<int> candidates(const Definition& d, int cell) {
    std::vector<int> digits;
    for (int digit = 1; digit <= 9; digit++)
        if (allowed(d, cell, digit)) digits.push_back(digit);
    return digits;
}

void set(Definition& d, int cell, int digit) {
    if (d.board[cell] != digit) d.changes.push_back({cell, d.board[cell], digit});
    d.board[cell] = digit;
}

bool full(const Definition& d) {
    for (int v : d.board)
        if (!v) return false;
    return true;
}

// The places of a missing digit in a house.
std::vector<int> places(const Definition& d, int house, int digit) {
    std::vector<int> cells;
    for (int k = 0; k < 9; k++) {
        int cell = house_cell(house, k);
        if (!d.board[cell] && allowed(d, cell, digit)) cells.push_back(cell);
    }
    return cells;
}

bool missing(const Definition& d, int house, int digit) {
    for (int k = 0; k < 9; k++)
        if (d.board[house_cell(house, k)] == digit) return false;
    return true;
}

bool step(Definition& d);

// Digits rising, each straight from the last, the cell emptied at the end.
bool try_digits(Definition& d, int cell, const std::vector<int>& digits) {
    for (int digit : digits) {
        set(d, cell, digit);
        if (step(d)) return true;
    }
    set(d, cell, 0);
    return false;
}

int fewest(const Definition& d) {
    int best = -1;
    size_t best_count = 10;
    for (int cell = 0; cell < 81; cell++) {
        size_t count = d.board[cell] ? 10 : candidates(d, cell).size();
        if (count < best_count) {
            best = cell;
            best_count = count;
        }
    }
    return best;
}

bool step(Definition& d) {
    d.steps++;
    if (d.strategy == Strategy::in_order) {
        int cell = 0;
        while (cell < 81 && d.board[cell]) cell++;
        return cell == 81 || try_digits(d, cell, candidates(d, cell));
    }
    std::vector<int> singles;
    while (d.strategy == Strategy::singles) {
        bool dead = false;
        for (int cell = 0; cell < 81; cell++)
            dead = dead || (!d.board[cell] && candidates(d, cell).empty());
        for (int house = 0; house < 27 && !dead; house++)
            for (int digit = 1; digit <= 9 && !dead; digit++)
                dead = missing(d, house, digit) && places(d, house, digit).empty();
        if (dead) {
            for (size_t k = singles.size(); k-- > 0;) set(d, singles[k], 0);
            return false;
        }
        int cell = -1, digit = 0;
        for (int c = 0; c < 81 && cell < 0; c++) {
            std::vector<int> digits = d.board[c] ? std::vector<int>() : candidates(d, c);
            if (digits.size() == 1) {
                cell = c;
                digit = digits[0];
            }
        }
        for (int house = 0; house < 27 && cell < 0; house++) {
            for (int g = 1; g <= 9 && cell < 0; g++) {
                std::vector<int> cells =
                    missing(d, house, g) ? places(d, house, g) : std::vector<int>();
                if (cells.size() == 1) {
                    cell = cells[0];
                    digit = g;
                }
            }
        }
        if (cell < 0) break;
        singles.push_back(cell);
        set(d, cell, digit);
    }
    if (full(d)) return true;
    if (d.strategy != Strategy::cover) {
        int cell = fewest(d);
        if (try_digits(d, cell, candidates(d, cell))) return true;
        for (size_t k = singles.size(); k-- > 0;) set(d, singles[k], 0);
        return false;
    }
    // Exact cover: the constraint with the fewest options, the first on ties.
    size_t best = 10;
    int best_cell = -1, best_house = -1, best_digit = 0;
    best_cell = fewest(d);
    best = candidates(d, best_cell).size();
    for (int house = 0; house < 27; house++) {
        for (int digit = 1; digit <= 9; digit++) {
            size_t count = missing(d, house, digit) ? places(d, house, digit).size() : 10;
            if (count < best) {
                best = count;
                best_house = house;
                best_digit = digit;
            }
        }
    }
    if (best == 0) return false;
    if (best_house < 0) return try_digits(d, best_cell, candidates(d, best_cell));
    for (int cell : places(d, best_house, best_digit)) {
        set(d, cell, best_digit);
        if (step(d)) return true;
        set(d, cell, 0);
    }
    return false;
}

TEST(Strategies, StepsAndChangesAreTheDefinitions) {
    std::string several = empty_board_solution();
    several.replace(0, 2, "..");
    several.replace(9, 2, "..");
    const std::string boards[] = {
        "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79",
        "8..........36......7..9.2...5...7.......457.....1...3...1....68..85...1..9....4..",
        ai_escargot_puzzle(),
        long_puzzle(),
        no_candidates_puzzle(),
        empty_board_solution(),
        std::string(81, '.'),
        several,
        "55" + std::string(79, '.'),
        "..9.7...5..21..9..1...28....7...5..1..851.....5....3.......3..68........21.....87",
        "4.....8.5.3..........7......2.....6.....8.4......1.......6.3.7.5..2.....1.4......",
        "1.......2.9.4...5...6...7...5.9.3.......7.......85..4.7.....6...3...9.8...2.....1",
    };
    for (const std::string& text : boards) {
        uint8_t givens[81];
        for (int i = 0; i < 81; i++) givens[i] = text[i] == '.' ? 0 : (uint8_t)(text[i] - '0');
        for (int s = 0; s < strategy_count; s++) {
            SCOPED_TRACE(text + " " + strategy_names[s]);
            PlainResult plain = search_plain((Strategy)s, givens, 20000, 0);
            if (plain.capped) continue;
            Definition d;
            for (int i = 0; i < 81; i++) d.board[i] = givens[i];
            d.strategy = (Strategy)s;
            bool solved = step(d);
            EXPECT_EQ(plain.solved, solved);
            EXPECT_EQ(plain.steps, d.steps);
            EXPECT_EQ(plain.changes, d.changes.size());
            for (int i = 0; solved && i < 81; i++) EXPECT_EQ(plain.cells[i], d.board[i]);

            // The window's search, flat out: its first hundred changes.
            reset_with_puzzle(text.c_str());
            uint64_t steps_before = solver_steps;
            EXPECT_EQ(s == 0 ? solve_from(-1) : solve_with_strategy((Strategy)s), solved);
            EXPECT_EQ(solver_steps - steps_before, d.steps);
            EXPECT_EQ(search_record.count.load(), d.changes.size());
            for (size_t k = 0; k < 100 && k < d.changes.size(); k++) {
                Change change = recorded_change(k);
                EXPECT_EQ(change_cell(change), d.changes[k][0]) << "change " << k;
                EXPECT_EQ(change_before(change), d.changes[k][1]) << "change " << k;
                EXPECT_EQ(change_after(change), d.changes[k][2]) << "change " << k;
            }
        }
    }
}

} // namespace

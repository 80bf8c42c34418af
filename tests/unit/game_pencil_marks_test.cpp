// The pencil marks a search keeps as it places digits, against marks made
// from scratch on the same board after every placement.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "game/search/pencil_marks.h"
#include "tests/unit/game_test_boards.h"

namespace {

void hold(Houses& houses, const uint8_t cells[81]) {
    houses = {};
    for (int cell = 0; cell < 81; cell++)
        if (cells[cell]) hold_digit(houses, cell, digit_bit(cells[cell]));
}

// What the search reads: cells' marks always, houses' counts and marks of
// missing digits only.
void expect_same(const PencilMarks& kept, const PencilMarks& fresh, const Houses& houses) {
    for (int cell = 0; cell < 81; cell++) EXPECT_EQ(kept.of[cell], fresh.of[cell]) << cell;
    for (int word = 0; word < 2; word++) {
        for (int digit = 0; digit < 9; digit++)
            EXPECT_EQ(kept.cells_of[digit][word], fresh.cells_of[digit][word]) << digit + 1;
        EXPECT_EQ(kept.one[word], fresh.one[word]);
        EXPECT_EQ(kept.none[word], fresh.none[word]);
    }
    EXPECT_EQ(kept.no_place, fresh.no_place);
    for (int house = 0; house < house_count; house++) {
        EXPECT_EQ(kept.one_place[house] & ~houses.held[house], fresh.one_place[house]) << house;
        for (int digit = 1; digit <= 9; digit++) {
            if (houses.held[house] & digit_bit(digit)) continue;
            EXPECT_EQ(place_count(kept, house, digit), place_count(fresh, house, digit))
                << house << " " << digit;
        }
    }
}

TEST(PencilMarks, KeptUpToDateAsDigitsArePlacedEqualMarksMadeAfresh) {
    const std::string boards[] = {std::string(81, '.'), ai_escargot_puzzle(),
                                  platinum_blonde_puzzle(), no_candidates_puzzle(),
                                  "55" + std::string(79, '.')};
    std::mt19937 random(38);
    for (const std::string& text : boards) {
        for (int round = 0; round < 20; round++) {
            SCOPED_TRACE(text + " round " + std::to_string(round));
            uint8_t cells[81];
            for (int i = 0; i < 81; i++) cells[i] = text[i] == '.' ? 0 : (uint8_t)(text[i] - '0');
            Houses houses;
            hold(houses, cells);
            PencilMarks kept, fresh;
            marks_start(kept, cells, houses);
            // Random candidates into random cells, down to a dead end or a full board.
            for (int placed = 0; placed < 81 && !::testing::Test::HasFailure(); placed++) {
                int open[81], count = 0;
                for (int cell = 0; cell < 81; cell++)
                    if (kept.of[cell]) open[count++] = cell;
                if (count == 0) break;
                int cell = open[random() % count];
                unsigned digits = kept.of[cell];
                for (int skip = (int)(random() % 9); skip > 0 && (digits & (digits - 1)); skip--)
                    digits &= digits - 1;
                int digit = __builtin_ctz(digits);
                cells[cell] = (uint8_t)digit;
                hold_digit(houses, cell, digit_bit(digit));
                if (round % 2)
                    mark_placed<true>(kept, cell, digit);
                else
                    mark_placed<false>(kept, cell, digit);
                marks_start(fresh, cells, houses);
                if (round % 2) {
                    expect_same(kept, fresh, houses);
                } else {
                    // Without the counts, the cells' marks still follow.
                    for (int c = 0; c < 81; c++) EXPECT_EQ(kept.of[c], fresh.of[c]) << c;
                    for (int word = 0; word < 2; word++) {
                        EXPECT_EQ(kept.one[word], fresh.one[word]);
                        EXPECT_EQ(kept.none[word], fresh.none[word]);
                    }
                }
            }
        }
    }
}

} // namespace

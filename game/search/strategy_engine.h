// The ways of searching but in order as one engine over a board of its own; a sink is told
// every change (the window's writes the shared board and the record, the
// plain one only counts). For the search's room only.
#pragma once

#include <cstring>

#include "game/board/rules.h"
#include "game/search/strategies.h"

enum class Ended : uint8_t { failed, solved, stopped };

// Sink: `bool change(int cell, int before, int after)`, false to stop the
// search; `bool step()` once a step, false to stop it.
template <typename Sink> struct Engine {
    uint8_t cells[81];
    Houses houses;
    int empty_count;
    // The empty cells as bits, cell k at bit k % 64 of word k / 64, so the
    // looks at every empty cell pass over the filled ones at no cost.
    uint64_t empty[2];
    Strategy strategy;
    Sink* sink;
};

template <typename Sink> Ended search_step(Engine<Sink>& e);

// Calls `visit(cell)` for each empty cell in reading order, until it says stop.
template <typename Sink, typename Visit> void for_each_empty(const Engine<Sink>& e, Visit visit) {
    for (int word = 0; word < 2; word++) {
        for (uint64_t bits = e.empty[word]; bits; bits &= bits - 1) {
            if (!visit(64 * word + __builtin_ctzll(bits))) return;
        }
    }
}

template <typename Sink> bool write_cell(Engine<Sink>& e, int cell, int after) {
    int before = e.cells[cell];
    if (before) flip_digit(e.houses, cell, digit_bit(before));
    if (after) flip_digit(e.houses, cell, digit_bit(after));
    e.empty_count += (before != 0) - (after != 0);
    if ((before == 0) != (after == 0)) e.empty[cell >> 6] ^= 1ull << (cell & 63);
    e.cells[cell] = (uint8_t)after;
    return e.sink->change(cell, before, after);
}

// A cell's candidates tried rising, each straight from the last, and the cell
// emptied when none is left; each tried digit leads to the next step.
template <typename Sink> Ended try_cell(Engine<Sink>& e, int cell, unsigned candidates) {
    while (candidates) {
        unsigned bit = candidates & (0u - candidates);
        candidates ^= bit;
        if (!write_cell(e, cell, __builtin_ctz(bit))) return Ended::stopped;
        Ended ended = search_step(e);
        if (ended != Ended::failed) return ended;
    }
    if (e.cells[cell] && !write_cell(e, cell, 0)) return Ended::stopped;
    return Ended::failed;
}

// The empty cell with the fewest candidates, the first in reading order on
// ties; -1 when the board is full. A cell with none is chosen at once.
template <typename Sink> int fewest_cell(const Engine<Sink>& e, unsigned* candidates) {
    int best = -1, best_count = 10;
    for_each_empty(e, [&](int cell) {
        unsigned digits = candidates_of(e.houses, cell);
        int count = digit_count(digits);
        if (count < best_count) {
            best = cell;
            best_count = count;
            *candidates = digits;
        }
        return count > 0;
    });
    return best;
}

// One look at the board for singles first: each empty cell's candidates and
// the places of each house's digits (those with one place at least, and those
// with two or more), the first cell in reading order with one candidate, and
// whether it is a dead end.
struct SinglesLook {
    unsigned candidates[81];
    unsigned once[house_count], twice[house_count];
    int first_single;
    bool dead_end;
};

template <typename Sink> void look_for_singles(const Engine<Sink>& e, SinglesLook& look) {
    memset(look.once, 0, sizeof(look.once));
    look.first_single = -1;
    look.dead_end = false;
    for_each_empty(e, [&](int cell) {
        unsigned digits = candidates_of(e.houses, cell);
        look.candidates[cell] = digits;
        // A dead end: an empty cell with no candidate.
        if (digits == 0) {
            look.dead_end = true;
            return false;
        }
        if (look.first_single < 0 && (digits & (digits - 1)) == 0) look.first_single = cell;
        for (int house : cell_houses.of[cell]) look.once[house] |= digits;
        return true;
    });
    if (look.dead_end) return;
    // Digits of two places or more matter only where no cell has one candidate.
    if (look.first_single < 0) {
        memset(look.twice, 0, sizeof(look.twice));
        unsigned seen[house_count] = {};
        for_each_empty(e, [&](int cell) {
            unsigned digits = look.candidates[cell];
            for (int house : cell_houses.of[cell]) {
                look.twice[house] |= seen[house] & digits;
                seen[house] |= digits;
            }
            return true;
        });
    }
    // Or a house with a missing digit that has no place.
    for (int house = 0; house < house_count; house++)
        if (all_digits & ~(e.houses.held[house] | look.once[house])) look.dead_end = true;
}

// The next single: the first cell in reading order with one candidate, else
// the first house with a missing digit of one place, its lowest such digit.
// False when there is none.
template <typename Sink>
bool next_single(const Engine<Sink>& e, const SinglesLook& look, int* cell, int* digit) {
    if (look.first_single >= 0) {
        *cell = look.first_single;
        *digit = __builtin_ctz(look.candidates[*cell]);
        return true;
    }
    for (int house = 0; house < house_count; house++) {
        unsigned single = look.once[house] & ~look.twice[house] & ~e.houses.held[house];
        if (!single) continue;
        *digit = __builtin_ctz(single);
        for (int k = 0; k < 9; k++) {
            int c = house_cell((HouseKind)(house / 9), house % 9, k);
            if (!e.cells[c] && (look.candidates[c] & digit_bit(*digit))) {
                *cell = c;
                return true;
            }
        }
    }
    return false;
}

// Takes back this step's singles, newest first.
template <typename Sink> Ended take_back(Engine<Sink>& e, const uint8_t* placed, int count) {
    while (count > 0)
        if (!write_cell(e, placed[--count], 0)) return Ended::stopped;
    return Ended::failed;
}

template <typename Sink> Ended singles_step(Engine<Sink>& e) {
    uint8_t placed[81];
    int count = 0;
    for (;;) {
        SinglesLook look;
        look_for_singles(e, look);
        if (look.dead_end) return take_back(e, placed, count);
        int cell, digit;
        if (!next_single(e, look, &cell, &digit)) break;
        placed[count++] = (uint8_t)cell;
        if (!write_cell(e, cell, digit)) return Ended::stopped;
    }
    if (e.empty_count == 0) return Ended::solved;
    unsigned candidates = 0;
    int cell = fewest_cell(e, &candidates);
    Ended ended = try_cell(e, cell, candidates);
    return ended == Ended::failed ? take_back(e, placed, count) : ended;
}

// The constraint exact cover takes next: a cell (house -1) with its
// candidates, or a digit in a house; `options` 0 for a dead end.
struct CoverChoice {
    int cell;
    unsigned candidates;
    int house, digit, options;
};

// The constraint with the fewest options, in the order cells, then each digit
// in each row, each column and each box. The board has an empty cell.
template <typename Sink> CoverChoice cover_choice(const Engine<Sink>& e) {
    CoverChoice choice = {-1, 0, -1, 0, 10};
    // Places of each digit in each house.
    uint8_t places[house_count][10] = {};
    for_each_empty(e, [&](int cell) {
        unsigned digits = candidates_of(e.houses, cell);
        int count = digit_count(digits);
        if (count < choice.options) {
            choice.cell = cell;
            choice.options = count;
            choice.candidates = digits;
        }
        for (unsigned rest = digits; rest; rest &= rest - 1) {
            int digit = __builtin_ctz(rest);
            for (int house : cell_houses.of[cell]) places[house][digit]++;
        }
        return true;
    });
    if (choice.options == 0) return choice;
    // Strictly fewer: on ties the earlier constraint, the cells before all.
    for (int house = 0; house < house_count; house++) {
        for (int digit = 1; digit <= 9; digit++) {
            if (e.houses.held[house] & digit_bit(digit)) continue;
            int count = places[house][digit];
            if (count >= choice.options) continue;
            choice.house = house;
            choice.digit = digit;
            choice.options = count;
            if (count == 0) return choice;
        }
    }
    return choice;
}

// The places of a digit in a house: its empty cells where it is a candidate,
// in the house's order. Returns how many.
template <typename Sink>
int digit_places(const Engine<Sink>& e, int house, int digit, int8_t places[9]) {
    int count = 0;
    for (int k = 0; k < 9; k++) {
        int cell = house_cell((HouseKind)(house / 9), house % 9, k);
        if (!e.cells[cell] && (candidates_of(e.houses, cell) & digit_bit(digit)))
            places[count++] = (int8_t)cell;
    }
    return count;
}

// Exact cover: a cell goes from one digit straight to the next; a digit in a
// house leaves one cell before it enters the next.
template <typename Sink> Ended cover_step(Engine<Sink>& e) {
    if (e.empty_count == 0) return Ended::solved;
    CoverChoice choice = cover_choice(e);
    if (choice.options == 0) return Ended::failed;
    if (choice.house < 0) return try_cell(e, choice.cell, choice.candidates);
    int8_t places[9];
    int count = digit_places(e, choice.house, choice.digit, places);
    for (int k = 0; k < count; k++) {
        if (!write_cell(e, places[k], choice.digit)) return Ended::stopped;
        Ended ended = search_step(e);
        if (ended != Ended::failed) return ended;
        if (!write_cell(e, places[k], 0)) return Ended::stopped;
    }
    return Ended::failed;
}

// One step: one call of the search. In order has a search of its own.
template <typename Sink> Ended search_step(Engine<Sink>& e) {
    if (!e.sink->step()) return Ended::stopped;
    switch (e.strategy) {
    case Strategy::singles:
        return singles_step(e);
    case Strategy::cover:
        return cover_step(e);
    default: {
        unsigned candidates = 0;
        int cell = fewest_cell(e, &candidates);
        if (cell < 0) return Ended::solved;
        return candidates ? try_cell(e, cell, candidates) : Ended::failed;
    }
    }
}

// The engine on these givens; the givens' conflicts only add bits already set.
template <typename Sink>
void engine_start(Engine<Sink>& e, const uint8_t givens[81], Strategy strategy, Sink* sink) {
    memset(&e, 0, sizeof(e));
    e.strategy = strategy;
    e.sink = sink;
    for (int cell = 0; cell < 81; cell++) {
        e.cells[cell] = givens[cell];
        if (givens[cell]) {
            hold_digit(e.houses, cell, digit_bit(givens[cell]));
            continue;
        }
        e.empty_count++;
        e.empty[cell >> 6] |= 1ull << (cell & 63);
    }
}

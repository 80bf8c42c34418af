// The ways of searching but in order as one engine over a board of its own; a sink is told
// every change (the window's writes the shared board and the record, the
// plain one only counts). For the search's room only.
#pragma once

#include <cstring>

#include "game/board/rules.h"
#include "game/search/pencil_marks.h"
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
    // Up to date while the search goes forward; after a failed step, as
    // they fell, until whoever goes on puts back its copy.
    PencilMarks marks;
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

// Writes a digit into an empty cell where it is a candidate, marks and all;
// fewest looks at cells only, so it leaves the houses' counts be.
template <typename Sink> bool place(Engine<Sink>& e, int cell, int digit) {
    bool go_on = write_cell(e, cell, digit);
    if (e.strategy == Strategy::fewest)
        mark_placed<false>(e.marks, cell, digit);
    else
        mark_placed<true>(e.marks, cell, digit);
    return go_on;
}

// A cell's candidates tried rising, each straight from the last, and the cell
// emptied when none is left; each tried digit leads to the next step. A step
// that fails leaves the marks as they fell: whoever goes on puts back a copy.
template <typename Sink> Ended try_cell(Engine<Sink>& e, int cell, unsigned candidates) {
    PencilMarks before;
    if (candidates & (candidates - 1)) before = e.marks;
    for (bool first = true; candidates; first = false) {
        unsigned bit = candidates & (0u - candidates);
        candidates ^= bit;
        if (!first) e.marks = before;
        if (!place(e, cell, __builtin_ctz(bit))) return Ended::stopped;
        Ended ended = search_step(e);
        if (ended != Ended::failed) return ended;
    }
    if (e.cells[cell] && !write_cell(e, cell, 0)) return Ended::stopped;
    return Ended::failed;
}

// The empty cell with the fewest candidates, the first in reading order on
// ties; -1 when the board is full. A cell with none is chosen at once.
template <typename Sink> int fewest_cell(const Engine<Sink>& e, unsigned* candidates) {
    const PencilMarks& m = e.marks;
    if (e.empty_count == 0) return -1;
    const uint64_t* first = (m.none[0] | m.none[1]) ? m.none : (m.one[0] | m.one[1]) ? m.one : 0;
    if (first) {
        int cell = first_cell(first);
        *candidates = m.of[cell];
        return cell;
    }
    // No cell has fewer than two, so the first with two is the one.
    int best = -1, best_count = 10;
    for_each_empty(e, [&](int cell) {
        int count = digit_count(m.of[cell]);
        if (count < best_count) {
            best = cell;
            best_count = count;
        }
        return count > 2;
    });
    *candidates = m.of[best];
    return best;
}

// Takes back this step's singles, newest first.
template <typename Sink> Ended take_back(Engine<Sink>& e, const uint8_t* placed, int count) {
    while (count > 0)
        if (!write_cell(e, placed[--count], 0)) return Ended::stopped;
    return Ended::failed;
}

// The next single: the first cell in reading order with one candidate, else
// the first house with a missing digit of one place, its lowest such digit.
// False when there is none; the board must be no dead end.
template <typename Sink>
bool next_single(const Engine<Sink>& e, int* cell, int* digit, bool* only_candidate) {
    *only_candidate = (e.marks.one[0] | e.marks.one[1]) != 0;
    if (!*only_candidate) return first_hidden_single(e.marks, e.houses, cell, digit);
    *cell = first_cell(e.marks.one);
    *digit = __builtin_ctz(e.marks.of[*cell]);
    return true;
}

// Singles until none is left, each after a look for a dead end. Then as fewest.
template <typename Sink> Ended singles_step(Engine<Sink>& e) {
    uint8_t placed[81];
    int count = 0;
    for (;;) {
        if (dead_end(e.marks)) return take_back(e, placed, count);
        int cell, digit;
        bool only_candidate;
        if (!next_single(e, &cell, &digit, &only_candidate)) break;
        placed[count++] = (uint8_t)cell;
        if (!place(e, cell, digit)) return Ended::stopped;
    }
    if (e.empty_count == 0) return Ended::solved;
    unsigned candidates = 0;
    int cell = fewest_cell(e, &candidates);
    Ended ended = try_cell(e, cell, candidates);
    return ended == Ended::failed ? take_back(e, placed, count) : ended;
}

// The constraint exact cover takes next: a cell (house -1) with its
// candidates, or a digit in a house, and how many options it has.
struct CoverChoice {
    int cell;
    unsigned candidates;
    int house, digit, options;
};

// The constraint with the fewest options, in the order cells, then each
// digit in each row, each column and each box. The board has an empty cell
// and is no dead end.
template <typename Sink> CoverChoice cover_choice(const Engine<Sink>& e) {
    CoverChoice choice = {-1, 0, -1, 0, 0};
    // No constraint is left without an option, so a cell of one candidate
    // comes before every digit, and the first digit of one place ends the look.
    choice.cell = fewest_cell(e, &choice.candidates);
    choice.options = digit_count(choice.candidates);
    for (int house = 0; house < house_count && choice.options > 1; house++) {
        unsigned missing = all_digits & ~e.houses.held[house];
        for (; missing; missing &= missing - 1) {
            int digit = __builtin_ctz(missing);
            // Strictly fewer: on ties the earlier constraint, the cells before all.
            int count = place_count(e.marks, house, digit);
            if (count >= choice.options) continue;
            choice.house = house;
            choice.digit = digit;
            choice.options = count;
        }
    }
    return choice;
}

// The places of a digit in a house, in the house's order; returns how many.
inline int digit_places(const PencilMarks& m, int house, int digit, uint8_t places[9]) {
    int count = 0;
    for (int cell : house_cells.of[house])
        if (m.of[cell] & digit_bit(digit)) places[count++] = (uint8_t)cell;
    return count;
}

// Exact cover: a cell goes from one digit straight to the next; a digit in a
// house leaves one place before it enters the next.
template <typename Sink> Ended cover_step(Engine<Sink>& e) {
    if (e.empty_count == 0) return Ended::solved;
    if (dead_end(e.marks)) return Ended::failed;
    CoverChoice choice = cover_choice(e);
    if (choice.house < 0) return try_cell(e, choice.cell, choice.candidates);
    uint8_t places[9];
    int place_total = digit_places(e.marks, choice.house, choice.digit, places);
    PencilMarks before;
    if (place_total > 1) before = e.marks;
    for (int k = 0; k < place_total; k++) {
        if (k > 0) e.marks = before;
        if (!place(e, places[k], choice.digit)) return Ended::stopped;
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
    marks_start(e.marks, e.cells, e.houses);
}

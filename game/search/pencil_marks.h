// Pencil marks for the search: each empty cell's candidates and the places of
// each house's missing digits, brought up to date as each digit is placed, so
// that a step need not look at the whole board before each choice. Nothing
// takes a digit back out of them: a search saves a copy before it tries a
// digit and puts the copy back before it tries the next.
#pragma once

#include <cstdint>
#include <cstring>

#include "game/board/rules.h"

// The cells of each house in the house's order, without a division at each look.
struct HouseCells {
    uint8_t of[house_count][9];
};
constexpr HouseCells make_house_cells() {
    HouseCells cells = {};
    for (int house = 0; house < house_count; house++)
        for (int k = 0; k < 9; k++)
            cells.of[house][k] = (uint8_t)house_cell((HouseKind)(house / 9), house % 9, k);
    return cells;
}
inline constexpr HouseCells house_cells = make_house_cells();

// Cells as bits: cell k at bit k % 64 of word k / 64.
inline void set_cell_bit(uint64_t* bits, int cell) {
    bits[cell >> 6] |= 1ull << (cell & 63);
}
inline void clear_cell_bit(uint64_t* bits, int cell) {
    bits[cell >> 6] &= ~(1ull << (cell & 63));
}
// The first cell of a set in reading order; the set must not be empty.
inline int first_cell(const uint64_t* bits) {
    return bits[0] ? __builtin_ctzll(bits[0]) : 64 + __builtin_ctzll(bits[1]);
}

// The 20 other cells that share a house with each cell, as bits, to find at
// once those that lose a digit.
struct PeerBits {
    uint64_t of[81][2];
};
constexpr PeerBits make_peer_bits() {
    PeerBits bits = {};
    for (int cell = 0; cell < 81; cell++) {
        for (int other = 0; other < 81; other++) {
            bool peer = row_of(other) == row_of(cell) || column_of(other) == column_of(cell) ||
                        box_of(other) == box_of(cell);
            if (peer && other != cell) bits.of[cell][other >> 6] |= 1ull << (other & 63);
        }
    }
    return bits;
}
inline constexpr PeerBits peer_bits = make_peer_bits();

// Counts of places kept four bits a digit, digit d at bits 4d to 4d + 3, so
// that a cell's candidates add to a house's counts in one addition.
constexpr uint64_t place_unit(int digit) {
    return 1ull << (4 * digit);
}
struct SpreadDigits {
    uint64_t of[1024];
};
constexpr SpreadDigits make_spread_digits() {
    SpreadDigits spread = {};
    for (int set = 0; set < 1024; set++)
        for (int digit = 1; digit <= 9; digit++)
            if (set & digit_bit(digit)) spread.of[set] |= place_unit(digit);
    return spread;
}
inline constexpr SpreadDigits spread_digits = make_spread_digits();

struct PencilMarks {
    // The empty cells where each digit (1 to 9, at index digit - 1) may go, as bits.
    uint64_t cells_of[9][2];
    // The candidates of each empty cell; none for a filled one.
    uint16_t of[81];
    // How many empty cells of each house may take each digit, four bits a digit.
    uint64_t places[house_count];
    // The missing digits of each house that have exactly one place; the bits
    // of the digits a house holds mean nothing.
    uint16_t one_place[house_count];
    // The empty cells with one candidate, and those with none.
    uint64_t one[2], none[2];
    // Some house has a missing digit with no place.
    bool no_place;
};

// How many empty cells of a house may take a digit it is missing.
inline int place_count(const PencilMarks& m, int house, int digit) {
    return (int)(m.places[house] >> (4 * digit)) & 15;
}

// An empty cell with no candidate, or a missing digit with no place.
inline bool dead_end(const PencilMarks& m) {
    return m.no_place || (m.none[0] | m.none[1]);
}

// The marks of a board from scratch; `houses` are the digits its houses hold.
inline void marks_start(PencilMarks& m, const uint8_t cells[81], const Houses& houses) {
    memset(&m, 0, sizeof(m));
    uint64_t empty[2] = {};
    for (int cell = 0; cell < 81; cell++) {
        if (cells[cell]) continue;
        set_cell_bit(empty, cell);
        unsigned digits = candidates_of(houses, cell);
        m.of[cell] = (uint16_t)digits;
        if (digits == 0) set_cell_bit(m.none, cell);
        if (digits && (digits & (digits - 1)) == 0) set_cell_bit(m.one, cell);
        for (int house : cell_houses.of[cell]) m.places[house] += spread_digits.of[digits];
    }
    // A digit may go in every empty cell but the peers of the cells that hold it.
    for (int digit = 1; digit <= 9; digit++) {
        m.cells_of[digit - 1][0] = empty[0];
        m.cells_of[digit - 1][1] = empty[1];
    }
    for (int cell = 0; cell < 81; cell++) {
        if (!cells[cell]) continue;
        m.cells_of[cells[cell] - 1][0] &= ~peer_bits.of[cell][0];
        m.cells_of[cells[cell] - 1][1] &= ~peer_bits.of[cell][1];
    }
    // The missing digits whose four bits are all clear, and those with only the lowest set.
    for (int house = 0; house < house_count; house++) {
        uint64_t count = m.places[house],
                 missing = spread_digits.of[all_digits & ~houses.held[house]];
        uint64_t high = (count >> 1) | (count >> 2) | (count >> 3);
        if (~(count | high) & missing) m.no_place = true;
        for (uint64_t ones = count & ~high & missing; ones; ones &= ones - 1)
            m.one_place[house] |= (uint16_t)digit_bit(__builtin_ctzll(ones) / 4);
    }
}

// One place fewer for a digit in a house, without a branch to guess wrong.
// The digit's mark of one place goes on as its count falls to one and off as
// it falls to none; 1 when none is left, else 0.
inline unsigned lose_place(PencilMarks& m, int house, int digit) {
    uint64_t count = m.places[house] -= place_unit(digit);
    unsigned left = (unsigned)(count >> (4 * digit)) & 15;
    m.one_place[house] ^= (uint16_t)(digit_bit(digit) & (0u - (left <= 1)));
    return left == 0;
}

// A digit placed in an empty cell where it is a candidate. The cell's other
// candidates lose a place in its houses, and the peers that lose the digit a
// place in each of theirs; the cell's houses now hold the digit, so their
// counts and marks of it (the count never below one: the cell's own) mean
// nothing from now on. Without `count_places` only the cells' marks are kept.
template <bool count_places> void mark_placed(PencilMarks& m, int cell, int digit) {
    unsigned bit = digit_bit(digit);
    unsigned others = m.of[cell] & ~bit;
    m.of[cell] = 0;
    clear_cell_bit(m.one, cell);
    const uint8_t* own = cell_houses.of[cell];
    clear_cell_bit(m.cells_of[digit - 1], cell);
    unsigned none_left = 0;
    for (; others; others &= others - 1) {
        int other = __builtin_ctz(others);
        clear_cell_bit(m.cells_of[other - 1], cell);
        if constexpr (count_places)
            none_left |= lose_place(m, own[0], other) | lose_place(m, own[1], other) |
                         lose_place(m, own[2], other);
    }
    // A peer's mark of one candidate goes on as it falls to one and off as it
    // falls to none.
    uint64_t* where = m.cells_of[digit - 1];
    for (int word = 0; word < 2; word++) {
        uint64_t hit = where[word] & peer_bits.of[cell][word];
        where[word] ^= hit;
        for (; hit; hit &= hit - 1) {
            int peer = 64 * word + __builtin_ctzll(hit);
            unsigned digits = m.of[peer] ^ bit;
            m.of[peer] = (uint16_t)digits;
            if constexpr (count_places) {
                const uint8_t* theirs = cell_houses.of[peer];
                none_left |= lose_place(m, theirs[0], digit) | lose_place(m, theirs[1], digit) |
                             lose_place(m, theirs[2], digit);
            }
            uint64_t peer_bit = hit & (0ull - hit);
            m.none[word] |= peer_bit & (0ull - (digits == 0));
            m.one[word] ^= peer_bit & (0ull - ((digits & (digits - 1)) == 0));
        }
    }
    m.no_place |= none_left != 0;
}

// The first house with a missing digit of one place: its lowest such digit
// and that place. False when there is none.
inline bool first_hidden_single(const PencilMarks& m, const Houses& houses, int* cell, int* digit) {
    for (int house = 0; house < house_count; house++) {
        unsigned single = m.one_place[house] & ~houses.held[house];
        if (!single) continue;
        *digit = __builtin_ctz(single);
        for (int c : house_cells.of[house]) {
            if (m.of[c] & digit_bit(*digit)) {
                *cell = c;
                return true;
            }
        }
    }
    return false;
}

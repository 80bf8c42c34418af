// The rules of Sudoku as bit masks: the houses of a cell, the digits a house
// holds, a cell's candidates. Everything that reasons about a board uses these.
#pragma once

#include <cstdint>

// Bit d stands for digit d; bit 0 is never a candidate, so an empty cell
// (digit 0) adds nothing to a house.
constexpr unsigned all_digits = 1022;

constexpr unsigned digit_bit(int digit) {
    return 1u << digit;
}

// The houses are numbered together: rows 0-8, columns 9-17, boxes 18-26.
constexpr int house_count = 27;
enum class HouseKind : uint8_t { row, column, box };

constexpr int row_of(int cell) {
    return cell / 9;
}
constexpr int column_of(int cell) {
    return cell % 9;
}
constexpr int box_of(int cell) {
    return 3 * (cell / 27) + cell % 9 / 3;
}
constexpr int row_house(int cell) {
    return row_of(cell);
}
constexpr int column_house(int cell) {
    return 9 + column_of(cell);
}
constexpr int box_house(int cell) {
    return 18 + box_of(cell);
}

constexpr int house_of(HouseKind kind, int cell) {
    return kind == HouseKind::row      ? row_house(cell)
           : kind == HouseKind::column ? column_house(cell)
                                       : box_house(cell);
}

// The cell at place k (0 to 8, in reading order) of house `index` (0 to 8) of a kind.
constexpr int house_cell(HouseKind kind, int index, int k) {
    return kind == HouseKind::row      ? 9 * index + k
           : kind == HouseKind::column ? 9 * k + index
                                       : 27 * (index / 3) + 3 * (index % 3) + 9 * (k / 3) + k % 3;
}

// The number of digits in a set, from a table: the Linux archive's program
// must not call into libgcc for it, and the build targets processors
// without popcnt.
struct DigitCounts {
    uint8_t of[1024];
};
constexpr DigitCounts make_digit_counts() {
    DigitCounts counts = {};
    for (int set = 1; set < 1024; set++)
        counts.of[set] = (uint8_t)(counts.of[set >> 1] + (set & 1));
    return counts;
}
inline constexpr DigitCounts digit_counts = make_digit_counts();

constexpr int digit_count(unsigned digits) {
    return digit_counts.of[digits & 1023];
}

// The three houses of each cell, worked out once rather than at every look.
struct CellHouses {
    uint8_t of[81][3];
};
constexpr CellHouses make_cell_houses() {
    CellHouses houses = {};
    for (int cell = 0; cell < 81; cell++) {
        houses.of[cell][0] = (uint8_t)row_house(cell);
        houses.of[cell][1] = (uint8_t)column_house(cell);
        houses.of[cell][2] = (uint8_t)box_house(cell);
    }
    return houses;
}
inline constexpr CellHouses cell_houses = make_cell_houses();

// The digits each house holds.
struct Houses {
    unsigned held[house_count];
};

inline unsigned candidates_of(const Houses& houses, int cell) {
    const uint8_t* of = cell_houses.of[cell];
    return all_digits & ~(houses.held[of[0]] | houses.held[of[1]] | houses.held[of[2]]);
}

// Puts a digit's bit into the cell's houses; a bit already there stays.
inline void hold_digit(Houses& houses, int cell, unsigned bit) {
    houses.held[row_house(cell)] |= bit;
    houses.held[column_house(cell)] |= bit;
    houses.held[box_house(cell)] |= bit;
}

// Puts a digit's bit into the cell's houses, or takes it out when it is there.
inline void flip_digit(Houses& houses, int cell, unsigned bit) {
    for (int house : cell_houses.of[cell]) houses.held[house] ^= bit;
}

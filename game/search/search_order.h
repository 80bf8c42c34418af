// The order of the search in reading order: the cells it fills and the
// houses each lies in. The search and its step count without a board both
// start from it, so they reach the same cells in the same order.
#pragma once

#include <cstdint>

#include "game/board/rules.h"

// A cell that is empty when the search starts, with the numbers of its houses.
struct OpenCell {
    uint8_t index, row, column, box;
};

struct SearchOrder {
    OpenCell open[81];
    int open_count;
    // The digits each house holds before the search places any.
    Houses given;
};

// The empty cells after `previous` (-1 for the whole board) of `cells` (81
// row-major, 0 for empty), in reading order; every other cell's digit counts
// as held. Givens that conflict only add bits that are set already.
void order_search(const uint8_t cells[81], int previous, SearchOrder* out);

inline unsigned candidates_of(const Houses& houses, const OpenCell& cell) {
    return all_digits & ~(houses.held[cell.row] | houses.held[cell.column] | houses.held[cell.box]);
}

// Puts a digit's bit into the open cell's houses, or takes it out.
inline void flip_digit(Houses& houses, const OpenCell& cell, unsigned bit) {
    houses.held[cell.row] ^= bit;
    houses.held[cell.column] ^= bit;
    houses.held[cell.box] ^= bit;
}

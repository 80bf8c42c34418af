#include "game/search_length.h"

static const unsigned all_digits = 1022;

uint64_t search_steps(const uint8_t cells[81], uint64_t cap) {
    // Rows are units 0-8, columns 9-17 and boxes 18-26.
    unsigned units[27] = {};
    uint8_t row[81], column[81], box[81];
    int open_count = 0;
    for (int cell = 0; cell < 81; cell++) {
        int r = cell / 9, c = cell % 9, b = 3 * (r / 3) + c / 3;
        if (cells[cell] == 0) {
            row[open_count] = (uint8_t)r;
            column[open_count] = (uint8_t)(9 + c);
            box[open_count] = (uint8_t)(18 + b);
            open_count++;
            continue;
        }
        // Conflicting givens are never compared: they only narrow candidates.
        unsigned bit = 1u << cells[cell];
        units[r] |= bit;
        units[9 + c] |= bit;
        units[18 + b] |= bit;
    }
    // The digits each open cell has still to try, and the one it holds.
    unsigned left[81], held[81];
    uint64_t steps = 0;
    int position = 0;
    for (;;) {
        // A step: the search reaches the open cell at `position`.
        steps++;
        if (steps > cap || position == open_count) return steps;
        left[position] =
            all_digits & ~(units[row[position]] | units[column[position]] | units[box[position]]);
        // Back up to the last cell with a digit left to try.
        while (left[position] == 0) {
            if (--position < 0) return steps;
            unsigned bit = held[position];
            units[row[position]] ^= bit;
            units[column[position]] ^= bit;
            units[box[position]] ^= bit;
        }
        unsigned bit = left[position] & (0u - left[position]);
        left[position] ^= bit;
        held[position] = bit;
        units[row[position]] |= bit;
        units[column[position]] |= bit;
        units[box[position]] |= bit;
        position++;
    }
}

// The steps of the program's own search on a board, counted without the board.
#include "game/search/search_length.h"

#include "game/search/search_order.h"

uint64_t search_steps(const uint8_t cells[81], uint64_t cap) {
    SearchOrder order;
    order_search(cells, -1, &order);
    Houses houses = order.given;
    // The digits each open cell has still to try, and the one it holds.
    unsigned left[81], held[81];
    uint64_t steps = 0;
    int position = 0;
    for (;;) {
        // A step: the search reaches the open cell at `position`.
        steps++;
        if (steps > cap || position == order.open_count) return steps;
        left[position] = candidates_of(houses, order.open[position]);
        // Back up to the last cell with a digit left to try.
        while (left[position] == 0) {
            if (--position < 0) return steps;
            flip_digit(houses, order.open[position], held[position]);
        }
        unsigned bit = left[position] & (0u - left[position]);
        left[position] ^= bit;
        held[position] = bit;
        flip_digit(houses, order.open[position], bit);
        position++;
    }
}

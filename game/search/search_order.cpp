// The open cells the search fills, in its order, and the houses the givens fill.
#include "game/search/search_order.h"

void order_search(const uint8_t cells[81], int previous, SearchOrder* out) {
    *out = SearchOrder{};
    for (int cell = 0; cell < 81; cell++) {
        if (cells[cell] == 0 && cell > previous) {
            out->open[out->open_count++] = {(uint8_t)cell, (uint8_t)row_house(cell),
                                            (uint8_t)column_house(cell), (uint8_t)box_house(cell)};
            continue;
        }
        hold_digit(out->given, cell, digit_bit(cells[cell]));
    }
}

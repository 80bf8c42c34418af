#include "game/search_record.h"

SearchRecord search_record;

void record_move(uint8_t cells[board_cells], uint64_t from, uint64_t to) {
    for (; from > to; from--) {
        Change change = recorded_change(from - 1);
        cells[change_cell(change)] = (uint8_t)change_before(change);
    }
    for (; from < to; from++) {
        Change change = recorded_change(from);
        cells[change_cell(change)] = (uint8_t)change_after(change);
    }
}

// Givens judged: their conflicts first, then their solutions counted up to two.
#include "game/board/givens_check.h"

#include "game/board/solution_count.h"

void find_conflicts(const uint8_t givens[board_cells], GivenConflicts* out) {
    *out = GivenConflicts{};
    static const HouseKind kinds[3] = {HouseKind::row, HouseKind::column, HouseKind::box};
    for (HouseKind kind : kinds) {
        for (int house = 0; house < 9; house++) {
            uint8_t times[10] = {};
            for (int k = 0; k < 9; k++) times[givens[house_cell(kind, house, k)]]++;
            for (int k = 0; k < 9; k++) {
                int cell = house_cell(kind, house, k);
                int digit = givens[cell];
                if (digit == 0 || times[digit] < 2) continue;
                if (out->times == 0) {
                    out->digit = (uint8_t)digit;
                    out->times = times[digit];
                    out->kind = kind;
                    out->house = (uint8_t)house;
                }
                if (!out->marked[cell]) out->marked_count++;
                out->marked[cell] = true;
            }
        }
    }
}

GivensVerdict judge_givens(const uint8_t givens[board_cells], GivenConflicts* conflicts) {
    find_conflicts(givens, conflicts);
    if (conflicts->marked_count > 0) return GivensVerdict::broken;
    switch (count_solutions(givens, 2)) {
    case 0:
        return GivensVerdict::no_solution;
    case 1:
        return GivensVerdict::one_solution;
    default:
        return GivensVerdict::several_solutions;
    }
}

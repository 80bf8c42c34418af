#include "game/givens_check.h"

#include <cstdio>

// The cell at place k (0 to 8) of a unit.
static int unit_cell(UnitKind kind, int unit, int k) {
    switch (kind) {
    case UnitKind::row:
        return 9 * unit + k;
    case UnitKind::column:
        return 9 * k + unit;
    default:
        return 27 * (unit / 3) + 3 * (unit % 3) + 9 * (k / 3) + k % 3;
    }
}

void find_conflicts(const uint8_t givens[board_cells], GivenConflicts* out) {
    *out = GivenConflicts{};
    static const UnitKind kinds[3] = {UnitKind::row, UnitKind::column, UnitKind::box};
    for (UnitKind kind : kinds) {
        for (int unit = 0; unit < 9; unit++) {
            uint8_t times[10] = {};
            for (int k = 0; k < 9; k++) times[givens[unit_cell(kind, unit, k)]]++;
            for (int k = 0; k < 9; k++) {
                int cell = unit_cell(kind, unit, k);
                int digit = givens[cell];
                if (digit == 0 || times[digit] < 2) continue;
                if (out->times == 0) {
                    out->digit = (uint8_t)digit;
                    out->times = times[digit];
                    out->kind = kind;
                    out->unit = (uint8_t)unit;
                }
                if (!out->marked[cell]) out->marked_count++;
                out->marked[cell] = true;
            }
        }
    }
}

void describe_conflict(const GivenConflicts& conflicts, char* out, int size) {
    static const char* const counts[10] = {"",     "",    "two",   "three", "four",
                                           "five", "six", "seven", "eight", "nine"};
    static const char* const kinds[3] = {"row", "column", "box"};
    if (conflicts.marked_count == 0) {
        snprintf(out, (size_t)size, "%s", "");
        return;
    }
    snprintf(out, (size_t)size, "%s %ds in %s %d", counts[conflicts.times], conflicts.digit,
             kinds[(int)conflicts.kind], conflicts.unit + 1);
}

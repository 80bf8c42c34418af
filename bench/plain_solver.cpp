#include "bench/plain_solver.h"

// Not static, so the compiler cannot prove the flag constant and drop the
// check the real search makes at every step.
int32_t plain_cells[82];
bool plain_stop_requested;
uint64_t plain_steps;

static const uint16_t all_digits = 1022;

bool plain_solve_from(int previous) {
    plain_steps++;
    if (plain_stop_requested) return false;

    int index = previous + 1;
    while (plain_cells[index] != 0) index++;
    if (index == 81) return true;

    int row = index / 9;
    int column = index % 9;
    int box_start = 27 * (row / 3) + 3 * (column / 3);
    unsigned used = 0;
    for (int k = 0; k < 9; k++) {
        used |= 1u << plain_cells[(index + 9 * k) % 81];
        used |= 1u << plain_cells[9 * row + k];
        used |= 1u << plain_cells[box_start + 9 * (k / 3) + k % 3];
    }
    uint16_t candidates = (uint16_t)(all_digits & ~used);

    for (int digit = 1; digit <= 9; digit++) {
        if (!(candidates & (1u << digit))) continue;
        plain_cells[index] = digit;
        if (plain_solve_from(index)) return true;
    }
    plain_cells[index] = 0;
    return false;
}

// The words of the change shown: what it did and why, with cells named as
// players write them (r4c7: row 4, column 7).
#pragma once

#include "game/watch/change_shown.h"

// "r4c7 = 5   3 in row 4, 4 in box 6" and the like, its parts set apart by
// the line's wide gap; cut to fit `size`.
void describe_change(const ShownChange& shown, char* out, int size);

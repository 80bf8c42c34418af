// The words of the line under the palette for how a search ended and for
// givens that break the rules, and of the paste's notice.
#pragma once

#include "game/board/givens_check.h"

// "solved: 4,209 steps, 7,119 changes" and the like; an empty string for none.
void describe_verdict(char* out, int size);
// "two 5s in row 1"; an empty string when nothing conflicts.
void describe_conflict(const GivenConflicts& conflicts, char* out, int size);
// What is wrong with the givens as judged: the conflict's words, "it has no
// solution" or "it has more than one solution"; empty for one solution.
void describe_givens(GivensVerdict verdict, const GivenConflicts& conflicts, char* out, int size);

// How the last watched search ended.
#include "game/watch/search_verdict.h"

#include "game/board/game_state.h"
#include "game/board/givens_check.h"

SearchVerdict search_verdict;

static bool board_full() {
    for (int i = 0; i < board_cells; i++) {
        if (cell_value(i) == 0) return false;
    }
    return true;
}

void judge_search(bool stopped, uint64_t steps, uint64_t changes) {
    search_verdict = SearchVerdict{Verdict::no_solution, steps, changes, changes};
    if (stopped) {
        search_verdict.verdict = Verdict::stopped;
    } else if (board_full()) {
        uint8_t givens[board_cells];
        read_givens(givens);
        GivenConflicts conflicts;
        search_verdict.verdict =
            judge_givens(givens, &conflicts) == GivensVerdict::several_solutions
                ? Verdict::solved_not_unique
                : Verdict::solved;
    }
}

void forget_verdict() {
    search_verdict = SearchVerdict{};
}

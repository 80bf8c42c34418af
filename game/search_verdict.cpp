#include "game/search_verdict.h"

#include <cstdio>

#include "game/game_state.h"
#include "game/number_text.h"
#include "game/solution_count.h"

SearchVerdict search_verdict;

static bool board_full() {
    for (int i = 0; i < board_cells; i++) {
        if (cell_value(i) == 0) return false;
    }
    return true;
}

void judge_search(bool stopped, uint64_t steps, uint64_t stopped_at) {
    search_verdict = SearchVerdict{Verdict::no_solution, steps, stopped_at};
    if (stopped) {
        search_verdict.verdict = Verdict::stopped;
    } else if (board_full()) {
        uint8_t givens[board_cells];
        read_givens(givens);
        search_verdict.verdict =
            count_solutions(givens, 2) > 1 ? Verdict::solved_not_unique : Verdict::solved;
    }
}

void forget_verdict() {
    search_verdict = SearchVerdict{};
}

void describe_verdict(char* out, int size) {
    char steps[number_text_size + 6];
    int length = number_text(search_verdict.steps, steps);
    snprintf(steps + length, sizeof(steps) - (size_t)length, " %s",
             search_verdict.steps == 1 ? "step" : "steps");
    char stopped_at[number_text_size];
    number_text(search_verdict.stopped_at, stopped_at);
    switch (search_verdict.verdict) {
    case Verdict::none:
        snprintf(out, (size_t)size, "%s", "");
        break;
    case Verdict::solved:
        snprintf(out, (size_t)size, "solved   %s", steps);
        break;
    case Verdict::solved_not_unique:
        snprintf(out, (size_t)size, "%s", "solved   these givens allow more than one solution");
        break;
    case Verdict::no_solution:
        snprintf(out, (size_t)size, "no solution   %s", steps);
        break;
    case Verdict::stopped:
        snprintf(out, (size_t)size, "stopped at step %s", stopped_at);
        break;
    }
}

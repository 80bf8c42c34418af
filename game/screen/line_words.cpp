// The words of a verdict, a conflict and a paste's judgement.
#include "game/screen/line_words.h"

#include <cstdio>

#include "common/number_text.h"
#include "game/watch/search_verdict.h"

// "4,209 steps, 7,119 changes": the search's calls, then what the board showed.
static void steps_and_changes(char* out, size_t size) {
    char steps[number_text_size], changes[number_text_size];
    number_text(search_verdict.steps, steps);
    number_text(search_verdict.changes, changes);
    snprintf(out, size, "%s %s, %s %s", steps, search_verdict.steps == 1 ? "step" : "steps",
             changes, search_verdict.changes == 1 ? "change" : "changes");
}

void describe_verdict(char* out, int size) {
    char counts[2 * number_text_size + 20];
    steps_and_changes(counts, sizeof(counts));
    char stopped_at[number_text_size];
    number_text(search_verdict.stopped_at, stopped_at);
    switch (search_verdict.verdict) {
    case Verdict::none:
        snprintf(out, (size_t)size, "%s", "");
        break;
    case Verdict::solved:
        snprintf(out, (size_t)size, "solved: %s", counts);
        break;
    case Verdict::solved_not_unique:
        snprintf(out, (size_t)size, "%s", "solved   these givens allow more than one solution");
        break;
    case Verdict::no_solution:
        snprintf(out, (size_t)size, "no solution: %s", counts);
        break;
    case Verdict::stopped:
        snprintf(out, (size_t)size, "stopped at change %s", stopped_at);
        break;
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
             kinds[(int)conflicts.kind], conflicts.house + 1);
}

void describe_givens(GivensVerdict verdict, const GivenConflicts& conflicts, char* out, int size) {
    switch (verdict) {
    case GivensVerdict::broken:
        describe_conflict(conflicts, out, size);
        break;
    case GivensVerdict::no_solution:
        snprintf(out, (size_t)size, "%s", "it has no solution");
        break;
    case GivensVerdict::several_solutions:
        snprintf(out, (size_t)size, "%s", "it has more than one solution");
        break;
    case GivensVerdict::one_solution:
        snprintf(out, (size_t)size, "%s", "");
        break;
    }
}

// --solve: each puzzle judged, then searched as the window searches, one line each.
#include "app/solve_files.h"

#include <cstdio>
#include <cstring>

#include "game/board/game_state.h"
#include "game/board/givens_check.h"
#include "game/puzzles/puzzle_collection.h"
#include "game/search/solver.h"
#include "platform/platform.h"

// The words of each verdict, as the output's second field says them.
static const char* const verdict_words[] = {"broken", "none", "solved", "several"};

struct SolveCounts {
    uint32_t of[4];
};

// One puzzle: LINE VERDICT SOLUTION STEPS [NAME]. Givens that break the rules
// are not searched: the search could take minutes to find out.
static GivensVerdict solve_one(const PuzzleCollection& puzzles, uint32_t p) {
    const uint8_t* cells = puzzles.cells + (size_t)p * board_cells;
    GivenConflicts conflicts;
    GivensVerdict verdict = judge_givens(cells, &conflicts);
    set_givens_from(cells);
    uint64_t steps_before = solver_steps;
    bool solved = verdict != GivensVerdict::broken && solve_from(-1);
    uint64_t steps = solver_steps - steps_before;
    char solution[board_cells + 1] = "-";
    if (solved) {
        for (int i = 0; i < board_cells; i++) solution[i] = (char)('0' + cell_value(i));
        solution[board_cells] = 0;
    }
    const char* name = puzzles.names + puzzles.name_at[p];
    printf("%u %s %s %llu%s%s\n", puzzles.lines[p], verdict_words[(int)verdict], solution,
           (unsigned long long)steps, name[0] ? " " : "", name);
    return verdict;
}

// "47 puzzles: 45 solved, 1 several, 1 none, 0 broken; 2 lines skipped: 3 17"
static void say_summary(const char* file, const PuzzleCollection& puzzles,
                        const SolveCounts& counts) {
    char message[400];
    int n = snprintf(
        message, sizeof(message), "%.100s: %u %s: %u solved, %u several, %u none, %u broken", file,
        puzzles.count, puzzles.count == 1 ? "puzzle" : "puzzles",
        counts.of[(int)GivensVerdict::one_solution],
        counts.of[(int)GivensVerdict::several_solutions],
        counts.of[(int)GivensVerdict::no_solution], counts.of[(int)GivensVerdict::broken]);
    if (puzzles.skipped > 0) {
        n += snprintf(message + n, sizeof(message) - (size_t)n, "; %u %s skipped:", puzzles.skipped,
                      puzzles.skipped == 1 ? "line" : "lines");
        uint32_t named =
            puzzles.skipped < (uint32_t)skipped_lines_named ? puzzles.skipped : skipped_lines_named;
        for (uint32_t k = 0; k < named; k++)
            n +=
                snprintf(message + n, sizeof(message) - (size_t)n, " %u", puzzles.skipped_lines[k]);
        if (puzzles.skipped > named) snprintf(message + n, sizeof(message) - (size_t)n, " ...");
    }
    platform_write_message(message);
}

int solve_files(const char* file) {
    PuzzleCollection puzzles;
    char reason[64];
    bool read;
    if (!file || strcmp(file, "-") == 0) {
        read = read_puzzle_stream(stdin, &puzzles, reason, sizeof(reason));
        file = "standard input";
    } else {
        read = read_puzzle_file(file, FileKinds::any_stream, &puzzles, reason, sizeof(reason));
    }
    if (!read) {
        char message[200];
        snprintf(message, sizeof(message), "%.100s %s", file, reason);
        platform_write_message(message);
        return 2;
    }
    SolveCounts counts = {};
    bool written = true;
    for (uint32_t p = 0; p < puzzles.count && written; p++) {
        counts.of[(int)solve_one(puzzles, p)]++;
        // Nobody reads the rest: stop rather than search on.
        written = !ferror(stdout);
    }
    written = fflush(stdout) == 0 && written;
    if (!written) {
        platform_write_message("standard output cannot be written");
        free_puzzles(&puzzles);
        return 2;
    }
    say_summary(file, puzzles, counts);
    bool all_one = counts.of[(int)GivensVerdict::one_solution] == puzzles.count;
    free_puzzles(&puzzles);
    return all_one ? 0 : 1;
}

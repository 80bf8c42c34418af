// --solve: each puzzle judged, then searched on a plain board, on as many
// workers as asked, and printed in the input's order, one line each.
#include "app/solve_files.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/board/givens_check.h"
#include "game/puzzles/puzzle_collection.h"
#include "platform/platform.h"

// The words of each verdict, as the output's second field says them.
static const char* const verdict_words[] = {"broken", "none", "solved", "several"};

struct SolvedPuzzle {
    uint64_t steps;
    GivensVerdict verdict;
    bool searched_to_a_solution;
    uint8_t solution[81];
    std::atomic<bool> done;
};

// The workers' shared job: each takes the next puzzle not yet taken.
struct SolveJob {
    const PuzzleCollection* puzzles;
    Strategy strategy;
    SolvedPuzzle* solved;
    std::atomic<uint32_t> next;
    std::atomic<int> working;
    // Nobody reads the rest (the output failed): take no more.
    std::atomic<bool> give_up;
};

static SolveJob job;

// Givens that break the rules are not searched: the search could take
// minutes to find out.
static void solve_one(uint32_t p) {
    const uint8_t* cells = job.puzzles->cells + (size_t)p * 81;
    SolvedPuzzle& out = job.solved[p];
    GivenConflicts conflicts;
    out.verdict = judge_givens(cells, &conflicts);
    if (out.verdict != GivensVerdict::broken) {
        PlainResult result = search_plain(job.strategy, cells, ~0ull, 0);
        out.steps = result.steps;
        out.searched_to_a_solution = result.solved;
        memcpy(out.solution, result.cells, 81);
    }
    out.done.store(true, std::memory_order_release);
}

static int worker_main() {
    for (;;) {
        uint32_t p = job.next.fetch_add(1, std::memory_order_relaxed);
        if (p >= job.puzzles->count || job.give_up.load(std::memory_order_relaxed)) break;
        solve_one(p);
    }
    job.working.fetch_sub(1, std::memory_order_release);
    return 0;
}

// LINE VERDICT SOLUTION STEPS [NAME]
static void print_one(uint32_t p) {
    const SolvedPuzzle& solved = job.solved[p];
    char solution[82] = "-";
    if (solved.searched_to_a_solution) {
        for (int i = 0; i < 81; i++) solution[i] = (char)('0' + solved.solution[i]);
        solution[81] = 0;
    }
    const PuzzleCollection& puzzles = *job.puzzles;
    const char* name = puzzles.names + puzzles.name_at[p];
    printf("%u %s %s %llu%s%s\n", puzzles.lines[p], verdict_words[(int)solved.verdict], solution,
           (unsigned long long)solved.steps, name[0] ? " " : "", name);
}

// "47 puzzles: 45 solved, 1 several, 1 none, 0 broken; 2 lines skipped: 3 17"
static void say_summary(const char* file, const PuzzleCollection& puzzles,
                        const uint32_t counts[4]) {
    char message[400];
    int n = snprintf(
        message, sizeof(message), "%.100s: %u %s: %u solved, %u several, %u none, %u broken", file,
        puzzles.count, puzzles.count == 1 ? "puzzle" : "puzzles",
        counts[(int)GivensVerdict::one_solution], counts[(int)GivensVerdict::several_solutions],
        counts[(int)GivensVerdict::no_solution], counts[(int)GivensVerdict::broken]);
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

// Starts the workers and prints each puzzle's line as it is ready, in order.
// False when the output could not be written.
static bool solve_in_order(int jobs, uint32_t counts[4]) {
    job.next.store(0, std::memory_order_relaxed);
    job.give_up.store(false, std::memory_order_relaxed);
    job.working.store(0, std::memory_order_relaxed);
    for (int w = 0; w < jobs; w++) {
        job.working.fetch_add(1, std::memory_order_relaxed);
        if (!platform_start_detached(worker_main)) job.working.fetch_sub(1);
    }
    // Without any worker, this thread does the work itself.
    if (job.working.load() == 0) {
        job.working.store(1);
        worker_main();
    }
    bool written = true;
    const int64_t nap = (int64_t)(0.0002 / platform_seconds_per_tick());
    for (uint32_t p = 0; p < job.puzzles->count && written; p++) {
        while (!job.solved[p].done.load(std::memory_order_acquire))
            platform_sleep_until(platform_counter_now() + nap);
        print_one(p);
        counts[(int)job.solved[p].verdict]++;
        written = !ferror(stdout);
    }
    job.give_up.store(true, std::memory_order_relaxed);
    // The puzzles are freed after: every worker has let go of them first.
    while (job.working.load(std::memory_order_acquire) > 0)
        platform_sleep_until(platform_counter_now() + nap);
    return fflush(stdout) == 0 && written;
}

int solve_files(const char* file, Strategy strategy, int jobs) {
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
    SolvedPuzzle* solved = (SolvedPuzzle*)calloc(puzzles.count, sizeof(SolvedPuzzle));
    if (!solved) {
        free_puzzles(&puzzles);
        platform_write_message("too many puzzles to hold their answers");
        return 2;
    }
    job.puzzles = &puzzles;
    job.strategy = strategy;
    job.solved = solved;
    uint32_t counts[4] = {};
    bool written = solve_in_order(jobs, counts);
    free(solved);
    if (!written) {
        platform_write_message("standard output cannot be written");
        free_puzzles(&puzzles);
        return 2;
    }
    say_summary(file, puzzles, counts);
    bool all_one = counts[(int)GivensVerdict::one_solution] == puzzles.count;
    free_puzzles(&puzzles);
    return all_one ? 0 : 1;
}

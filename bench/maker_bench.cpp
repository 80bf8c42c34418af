// What making a puzzle costs: 100 puzzles of each length (seeds 1-100), the
// median and longest time to make one and the median steps of their search;
// then one count of solutions, up to two, of each hard puzzle the tests hold.
// Figures only.
#include <algorithm>
#include <cstdio>

#include "game/board/solution_count.h"
#include "game/puzzles/puzzle_maker.h"
#include "platform/platform.h"
#include "tests/unit/game_test_boards.h"

static constexpr int puzzles_per_length = 100;

static double seconds_now() {
    return (double)platform_counter_now() * platform_seconds_per_tick();
}

int main() {
    setvbuf(stdout, nullptr, _IOLBF, 0);
    for (int length = 0; length < puzzle_length_count; length++) {
        double milliseconds[puzzles_per_length];
        uint64_t steps[puzzles_per_length];
        for (int i = 0; i < puzzles_per_length; i++) {
            MadePuzzle made;
            double start = seconds_now();
            make_puzzle((PuzzleLength)length, (uint64_t)(i + 1), &made);
            milliseconds[i] = 1e3 * (seconds_now() - start);
            steps[i] = made.steps;
        }
        std::sort(milliseconds, milliseconds + puzzles_per_length);
        std::sort(steps, steps + puzzles_per_length);
        printf("%-9s puzzles: median %8.1f ms, longest %8.1f ms; median search %llu steps\n",
               puzzle_lengths[length].name, milliseconds[puzzles_per_length / 2],
               milliseconds[puzzles_per_length - 1],
               (unsigned long long)steps[puzzles_per_length / 2]);
    }

    struct Hard {
        const char* name;
        const char* text;
    };
    const Hard hard[] = {{"platinum blonde", platinum_blonde_puzzle()},
                         {"AI escargot", ai_escargot_puzzle()},
                         {"anti brute force", anti_brute_force_puzzle()},
                         {"long puzzle", long_puzzle()}};
    for (const Hard& puzzle : hard) {
        uint8_t cells[81];
        for (int i = 0; i < 81; i++)
            cells[i] = puzzle.text[i] >= '1' && puzzle.text[i] <= '9' ? puzzle.text[i] - '0' : 0;
        // Enough repeats for a tenth of a second or so of the slowest.
        const int repeats = 100;
        int solutions = 0;
        double start = seconds_now();
        for (int i = 0; i < repeats; i++) solutions = count_solutions(cells, 2);
        double microseconds = 1e6 * (seconds_now() - start) / repeats;
        printf("count_solutions(%s, 2) = %d: %.1f us a count\n", puzzle.name, solutions,
               microseconds);
    }
    return 0;
}

// Solving without a window: 10,000 made puzzles of mixed lengths searched each
// way on a plain board in this process (puzzles a second on one core, over
// all and over the 1,000 that take exact cover the most steps); then
// `tessarin --solve FILE` on one worker against the search alone (reading,
// judging, parsing and printing too) and on two against one; and the time
// to open a collection of 1,000,000 of them. Figures only.
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/board/game_state.h"
#include "game/puzzles/puzzle_collection.h"
#include "game/puzzles/puzzle_maker.h"
#include "game/search/strategies.h"
#include "platform/platform.h"

static constexpr int puzzle_count = 10000;

static double seconds_now() {
    return (double)platform_counter_now() * platform_seconds_per_tick();
}

static double children_seconds() {
    rusage usage;
    getrusage(RUSAGE_CHILDREN, &usage);
    return (double)(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           1e-6 * (double)(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: bench_solve_files PATH-TO-TESSARIN\n");
        return 2;
    }
    setvbuf(stdout, nullptr, _IOLBF, 0);
    // Four in ten short, four medium, two long.
    static uint8_t puzzles[puzzle_count][board_cells];
    std::string path = "/tmp/tessarin-bench-puzzles.sdm";
    FILE* file = fopen(path.c_str(), "w");
    if (!file) return 1;
    for (int i = 0; i < puzzle_count; i++) {
        PuzzleLength length = i % 10 < 4   ? PuzzleLength::short_search
                              : i % 10 < 8 ? PuzzleLength::medium
                                           : PuzzleLength::long_search;
        MadePuzzle made;
        make_puzzle(length, (uint64_t)i + 1, &made);
        for (int c = 0; c < board_cells; c++) {
            puzzles[i][c] = made.cells[c];
            fputc(made.cells[c] ? '0' + made.cells[c] : '.', file);
        }
        fprintf(file, " made %d\n", i + 1);
    }
    fclose(file);

    // Each way on every puzzle, then on the 1,000 hardest for exact cover.
    static uint64_t cover_steps[puzzle_count];
    static int order[puzzle_count];
    double in_order_seconds = 0;
    uint64_t in_order_steps = 0;
    for (int way = strategy_count - 1; way >= 0; way--) {
        uint64_t steps = 0;
        double start = seconds_now();
        for (int i = 0; i < puzzle_count; i++) {
            PlainResult result = search_plain((Strategy)way, puzzles[i], ~0ull, 0);
            steps += result.steps;
            if (way == (int)Strategy::cover) cover_steps[i] = result.steps;
        }
        double all = seconds_now() - start;
        if (way == (int)Strategy::cover) {
            for (int i = 0; i < puzzle_count; i++) order[i] = i;
            std::sort(order, order + puzzle_count,
                      [](int a, int b) { return cover_steps[a] > cover_steps[b]; });
        }
        start = seconds_now();
        for (int k = 0; k < puzzle_count / 10; k++)
            search_plain((Strategy)way, puzzles[order[k]], ~0ull, 0);
        double hardest = seconds_now() - start;
        printf("%-18s %9.0f puzzles/s (%llu steps), the 1,000 hardest for cover %9.0f puzzles/s\n",
               strategy_names[way], puzzle_count / all, (unsigned long long)steps,
               (puzzle_count / 10) / hardest);
        if (way == (int)Strategy::in_order) {
            in_order_seconds = all;
            in_order_steps = steps;
        }
    }

    double wall[2] = {};
    for (int jobs = 1; jobs <= 2; jobs++) {
        std::string command = std::string(argv[1]) + " --solve --jobs " + std::to_string(jobs) +
                              " " + path + " > /dev/null 2>&1";
        double before = children_seconds();
        double start = seconds_now();
        int status = system(command.c_str());
        wall[jobs - 1] = seconds_now() - start;
        double used = children_seconds() - before;
        printf("tessarin --solve --jobs %d: %.3f s of processor time, %.3f s wall, exit %d", jobs,
               used, wall[jobs - 1], WIFEXITED(status) ? WEXITSTATUS(status) : -1);
        if (jobs == 1)
            printf(": %.3f of the search's speed (%llu steps, %.0f M steps/s alone)\n",
                   in_order_seconds / used, (unsigned long long)in_order_steps,
                   1e-6 * (double)in_order_steps / in_order_seconds);
        else
            printf(": %.2f times one job's speed, %.2f of two cores\n", wall[0] / wall[1],
                   wall[0] / wall[1] / 2);
    }

    // A million lines: the ten thousand a hundred times over.
    std::string million = "/tmp/tessarin-bench-million.sdm";
    FILE* in = fopen(path.c_str(), "rb");
    FILE* out = fopen(million.c_str(), "wb");
    if (!in || !out) return 1;
    static char text[1 << 20];
    size_t length = fread(text, 1, sizeof(text), in);
    for (int copy = 0; copy < 1000000 / puzzle_count; copy++) fwrite(text, 1, length, out);
    fclose(in);
    fclose(out);
    remove(path.c_str());
    PuzzleCollection opened;
    char reason[64];
    double start = seconds_now();
    bool read =
        read_puzzle_file(million.c_str(), FileKinds::files_only, &opened, reason, sizeof(reason));
    double opening = seconds_now() - start;
    remove(million.c_str());
    printf("a collection of %u puzzles (%.1f MB): opened in %.3f s, held in %.1f MB%s\n",
           opened.count, (double)length * (1000000 / puzzle_count) / 1e6, opening,
           (double)opened.count * board_cells / 1e6, read ? "" : " (refused)");
    free_puzzles(&opened);
    return 0;
}

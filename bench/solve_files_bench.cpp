// What solving a file without a window costs beyond the search: 10,000 made
// puzzles of mixed lengths, solved by the search in this process (the search
// alone), then by `tessarin --solve FILE` (reading, parsing and printing too);
// and the time to open a collection of 1,000,000 of them. Figures only.
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/board/game_state.h"
#include "game/puzzles/puzzle_collection.h"
#include "game/puzzles/puzzle_maker.h"
#include "game/search/solver.h"
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

    uint64_t steps_before = solver_steps;
    double searching = 0;
    for (int i = 0; i < puzzle_count; i++) {
        set_givens_from(puzzles[i]);
        double start = seconds_now();
        solve_from(-1);
        searching += seconds_now() - start;
    }
    uint64_t steps = solver_steps - steps_before;

    std::string command = std::string(argv[1]) + " --solve " + path + " > /dev/null";
    double before = children_seconds();
    double start = seconds_now();
    int status = system(command.c_str());
    double wall = seconds_now() - start;
    double used = children_seconds() - before;
    printf("%d puzzles, %llu steps: the search alone %.3f s (%.0f M steps/s); "
           "tessarin --solve %.3f s of processor time, %.3f s wall, exit %d: "
           "%.3f of the search's speed\n",
           puzzle_count, (unsigned long long)steps, searching, 1e-6 * (double)steps / searching,
           used, wall, WIFEXITED(status) ? WEXITSTATUS(status) : -1, searching / used);

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
    start = seconds_now();
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

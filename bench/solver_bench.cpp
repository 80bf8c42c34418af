// Search speed of the real solver (the shared atomic board, the stop flag read
// at every step) against the plain copy of the same search, on a fixed set of
// boards. Each iteration runs both, one after the other, so drift in the
// machine's speed touches both alike; five repetitions give a median. Step
// counts are facts of the algorithm and are checked; the times are only
// reported.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "bench/plain_solver.h"
#include "game/game_state.h"
#include "game/solver.h"
#include "tests/unit/game_test_boards.h"

namespace {

struct BenchBoard {
    const char* name;
    const char* puzzle;
    uint64_t steps;
};

const BenchBoard boards[] = {
    {"anti_brute_force", anti_brute_force_puzzle(), 69175317},
    {"platinum_blonde",
     ".......12........3..23..4....18....5.6..7.8.......9.....85.....9...4.5..47...6...", 1114772},
    {"ai_escargot",
     "1....7.9..3..2...8..96..5....53..9...1..8...26....4...3......1..4......7..7...3..", 8970},
    {"empty", ".................................................................................",
     392},
};

bool steps_wrong;

void load_plain(const char* puzzle) {
    memset(plain_cells, 0, sizeof(plain_cells));
    for (int i = 0; i < board_cells; i++) {
        if (puzzle[i] >= '1' && puzzle[i] <= '9') plain_cells[i] = puzzle[i] - '0';
    }
}

bool same_boards() {
    for (int i = 0; i <= board_cells; i++) {
        if (cell_value(i) != plain_cells[i]) return false;
    }
    return true;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void solve_both(benchmark::State& state, const BenchBoard& board) {
    double real_seconds = 0, plain_seconds = 0;
    uint64_t real_steps = 0, plain_steps_total = 0;
    for (auto _ : state) {
        reset_with_puzzle(board.puzzle);
        uint64_t before = solver_steps;
        auto start = std::chrono::steady_clock::now();
        bool real_solved = solve_from(-1);
        real_seconds += seconds_since(start);
        uint64_t real_run = solver_steps - before;

        load_plain(board.puzzle);
        before = plain_steps;
        start = std::chrono::steady_clock::now();
        bool plain_solved = plain_solve_from(-1);
        plain_seconds += seconds_since(start);
        uint64_t plain_run = plain_steps - before;

        if (real_run != board.steps || plain_run != board.steps || !real_solved || !plain_solved ||
            !same_boards()) {
            fprintf(stderr, "%s: %llu real and %llu plain steps, %llu expected, solved %d/%d\n",
                    board.name, (unsigned long long)real_run, (unsigned long long)plain_run,
                    (unsigned long long)board.steps, real_solved, plain_solved);
            steps_wrong = true;
            state.SkipWithError("wrong step count or result");
            break;
        }
        real_steps += real_run;
        plain_steps_total += plain_run;
    }
    if (real_seconds <= 0 || plain_seconds <= 0) return;
    double real_rate = (double)real_steps / real_seconds;
    double plain_rate = (double)plain_steps_total / plain_seconds;
    state.counters["steps"] = (double)board.steps;
    state.counters["real_steps/s"] = real_rate;
    state.counters["plain_steps/s"] = plain_rate;
    state.counters["ratio"] = real_rate / plain_rate;
}

} // namespace

int main(int argc, char** argv) {
    for (const BenchBoard& board : boards) {
        benchmark::RegisterBenchmark(board.name, solve_both, board)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return steps_wrong ? 1 : 0;
}

// Search speed of the product's search against the reference search (the
// 27-read step it replaced), both on the shared atomic board with the stop flag
// read at every step, on a fixed set of boards; and of the product's search
// with its record of changes against the same search without it. Each
// iteration runs all three, one after the other, so drift in the machine's speed touches both
// alike; the repetitions give a median and a spread. Step counts are facts of the algorithm and are
// checked, and both must end on the same board; the times are only reported.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "game/search_pace.h"
#include "game/search_record.h"
#include "game/solver.h"
#include "game/watch.h"
#include "platform/platform.h"
#include "tests/unit/game_test_boards.h"
#include "tests/unit/reference_solver.h"

// The product's search compiled again with a record that keeps nothing: the
// headers are included above, so only the search's own definitions land here,
// and its unqualified record_change finds this one.
namespace unrecorded {
inline void record_change(uint64_t& count, Change) {
    count++;
}
#include "game/solver.cpp"
} // namespace unrecorded

namespace {

struct BenchBoard {
    const char* name;
    const char* puzzle;
    uint64_t steps;
};

const BenchBoard boards[] = {
    {"anti_brute_force", anti_brute_force_puzzle(), 69175317},
    {"platinum_blonde", platinum_blonde_puzzle(), 1114772},
    {"ai_escargot", ai_escargot_puzzle(), 8970},
    {"empty", ".................................................................................",
     392},
};

bool steps_wrong;

// The thread's own processor time: on a machine shared with other work, time
// spent waiting for a core is not counted against either search.
double thread_seconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return (double)now.tv_sec + 1e-9 * (double)now.tv_nsec;
}

// Reading the thread's clock is a system call here (about half a microsecond),
// and one read's worth of it lands in every interval: on the empty board that
// is a sixth of the search. The shortest interval between two reads is taken off.
double clock_cost;

void measure_clock_cost() {
    clock_cost = 1;
    for (int i = 0; i < 1000; i++) {
        double start = thread_seconds();
        clock_cost = std::min(clock_cost, thread_seconds() - start);
    }
}

double seconds_since(double start) {
    return thread_seconds() - start - clock_cost;
}

void solve_both(benchmark::State& state, const BenchBoard& board) {
    double product_seconds = 0, reference_seconds = 0, unrecorded_seconds = 0;
    uint64_t product_steps = 0, reference_steps_total = 0;
    for (auto _ : state) {
        reset_with_puzzle(board.puzzle);
        uint64_t before = reference_steps;
        double start = thread_seconds();
        bool reference_solved = reference_solve_from(-1);
        reference_seconds += seconds_since(start);
        uint64_t reference_run = reference_steps - before;
        std::string reference_board = board_text();

        reset_with_puzzle(board.puzzle);
        before = solver_steps;
        start = thread_seconds();
        bool product_solved = solve_from(-1);
        product_seconds += seconds_since(start);
        uint64_t product_run = solver_steps - before;
        std::string product_board = board_text();

        reset_with_puzzle(board.puzzle);
        before = unrecorded::solver_steps;
        start = thread_seconds();
        bool unrecorded_solved = unrecorded::solve_from(-1);
        unrecorded_seconds += seconds_since(start);
        uint64_t unrecorded_run = unrecorded::solver_steps - before;

        if (product_run != board.steps || reference_run != board.steps ||
            unrecorded_run != board.steps || !product_solved || !reference_solved ||
            !unrecorded_solved || product_board != reference_board ||
            board_text() != reference_board) {
            fprintf(stderr,
                    "%s: %llu product and %llu reference steps, %llu expected, solved %d/%d\n",
                    board.name, (unsigned long long)product_run, (unsigned long long)reference_run,
                    (unsigned long long)board.steps, product_solved, reference_solved);
            steps_wrong = true;
            state.SkipWithError("wrong step count or result");
            break;
        }
        product_steps += product_run;
        reference_steps_total += reference_run;
    }
    if (product_seconds <= 0 || reference_seconds <= 0 || unrecorded_seconds <= 0) return;
    double product_rate = (double)product_steps / product_seconds;
    double reference_rate = (double)reference_steps_total / reference_seconds;
    state.counters["steps"] = (double)board.steps;
    state.counters["product_steps/s"] = product_rate;
    state.counters["reference_steps/s"] = reference_rate;
    state.counters["ratio"] = product_rate / reference_rate;
    // The product's steps go with its record, against the same search without it.
    state.counters["record_ratio"] = unrecorded_seconds / product_seconds;
}

} // namespace

int main(int argc, char** argv) {
    measure_clock_cost();
    for (const BenchBoard& board : boards) {
        benchmark::RegisterBenchmark(board.name, solve_both, board)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0)
            ->Repetitions(7)
            ->ComputeStatistics(
                "min",
                [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
            ->ComputeStatistics(
                "max",
                [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); })
            ->DisplayAggregatesOnly(true);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return steps_wrong ? 1 : 0;
}

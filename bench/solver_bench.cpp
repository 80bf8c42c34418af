// Search speed of the product's search against the reference search (the
// 27-read step it replaced), both on the shared atomic board with the stop flag
// read at every step, on a fixed set of boards; and of the product's search
// with its record of changes against the same search without it. Each
// iteration runs all three, one after the other, so drift in the machine's
// speed touches them alike; the repetitions give a median and a spread. Step
// counts are facts of the algorithm and are checked, and all three must end on
// the same board; the times are only reported.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "game/board/game_state.h"
#include "game/search/search_order.h"
#include "game/search/search_pace.h"
#include "game/search/search_record.h"
#include "game/search/search_shared.h"
#include "game/search/solver.h"
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
#include "game/search/solver.cpp"
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

struct TimedRun {
    bool solved;
    uint64_t steps;
    double seconds;
    std::string board;
};

TimedRun timed_run(bool (*solve)(int), const uint64_t& step_counter, const char* puzzle) {
    reset_with_puzzle(puzzle);
    uint64_t before = step_counter;
    double start = thread_seconds();
    bool solved = solve(-1);
    double seconds = seconds_since(start);
    return {solved, step_counter - before, seconds, board_text()};
}

// Iterations over all boards: the recorded and the unrecorded search take
// turns at going first, so that whatever favours the first or the second of
// two runs touches both alike.
unsigned iterations;

void solve_both(benchmark::State& state, const BenchBoard& board) {
    double product_seconds = 0, reference_seconds = 0, unrecorded_seconds = 0;
    uint64_t product_steps = 0, reference_steps_total = 0;
    for (auto _ : state) {
        TimedRun reference = timed_run(reference_solve_from, reference_steps, board.puzzle);
        TimedRun product, unrecorded;
        if (iterations++ % 2 == 0) {
            product = timed_run(solve_from, solver_steps, board.puzzle);
            unrecorded = timed_run(unrecorded::solve_from, unrecorded::solver_steps, board.puzzle);
        } else {
            unrecorded = timed_run(unrecorded::solve_from, unrecorded::solver_steps, board.puzzle);
            product = timed_run(solve_from, solver_steps, board.puzzle);
        }
        reference_seconds += reference.seconds;
        product_seconds += product.seconds;
        unrecorded_seconds += unrecorded.seconds;
        if (product.steps != board.steps || reference.steps != board.steps ||
            unrecorded.steps != board.steps || !product.solved || !reference.solved ||
            !unrecorded.solved || product.board != reference.board ||
            unrecorded.board != reference.board) {
            fprintf(
                stderr, "%s: %llu product and %llu reference steps, %llu expected, solved %d/%d\n",
                board.name, (unsigned long long)product.steps, (unsigned long long)reference.steps,
                (unsigned long long)board.steps, product.solved, reference.solved);
            steps_wrong = true;
            state.SkipWithError("wrong step count or result");
            break;
        }
        product_steps += product.steps;
        reference_steps_total += reference.steps;
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
            ->Repetitions(15)
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

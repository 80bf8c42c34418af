// The solver thread against a main thread that draws and presses buttons,
// as the program runs them; built with ThreadSanitizer.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "game/board/game_state.h"
#include "game/search/search_record.h"
#include "game/search/solver.h"
#include "game/watch/search_verdict.h"
#include "game/watch/watch.h"
#include "platform/platform.h"
#include "tests/unit/game_test_boards.h"

namespace {

// Reads the board as a frame does: each value once, with its mark and the flags.
// Returns how many cells hold a digit the search placed.
int draw_once() {
    int solver_digits = 0;
    for (int i = 0; i < board_cells; i++) {
        int32_t v = cell_value(i);
        if (v < 0 || v > 9) ADD_FAILURE() << "cell " << i << " holds " << v;
        if (v != 0 && !game_state.board.given[i]) solver_digits++;
    }
    return solver_digits;
}

// Whether a thread of this process other than the caller has the nice value.
bool other_thread_has_nice(int nice) {
    bool found = false;
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks) return false;
    while (dirent* entry = readdir(tasks)) {
        int thread = atoi(entry->d_name);
        if (thread == 0 || thread == gettid()) continue;
        errno = 0;
        int value = getpriority(PRIO_PROCESS, (id_t)thread);
        if (errno == 0 && value == nice) found = true;
    }
    closedir(tasks);
    return found;
}

TEST(SolverThread, StopEndsALongSearchAndTheBoardReturnsToItsGivens) {
    reset_with_puzzle(long_puzzle());
    int own_nice = getpriority(PRIO_PROCESS, (id_t)gettid());
    // The raise is Windows' way; on Linux the drawing thread keeps its nice value.
    platform_raise_main_thread_priority();
    for (int round = 0; round < 2; round++) {
        game_state.selected_digit = 4;
        ASSERT_TRUE(start_search());
        EXPECT_EQ(game_state.selected_digit, 0);
        // Draw a while; the search must show digits of its own. On a busy
        // machine the nice thread may wait long for its first turn.
        int seen = 0;
        auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (int frame = 0;
             frame < 2000 || (seen == 0 && std::chrono::steady_clock::now() < give_up); frame++)
            seen += draw_once();
        EXPECT_GT(seen, 0);
        EXPECT_TRUE(game_state.solver_running.load(std::memory_order_acquire));
        // The search runs at the lowest priority; the drawing thread keeps its own.
        EXPECT_TRUE(other_thread_has_nice(19));
        EXPECT_EQ(getpriority(PRIO_PROCESS, (id_t)gettid()), own_nice);

        game_state.stop_requested.store(true, std::memory_order_relaxed);
        while (game_state.solver_running.load(std::memory_order_acquire)) draw_once();
        EXPECT_EQ(board_text(), long_puzzle()) << "round " << round;
        EXPECT_EQ(givens_count(), 17);
        EXPECT_FALSE(game_state.stop_requested.load());
        EXPECT_FALSE(game_state.solver_running.load());
    }
}

TEST(SolverThread, CompletedSearchIsSeenWholeOnceTheFlagClears) {
    reset_game_state();
    ASSERT_TRUE(start_search());
    while (game_state.solver_running.load(std::memory_order_acquire)) draw_once();
    EXPECT_EQ(board_text(), empty_board_solution());
    EXPECT_EQ(draw_once(), 81);
    EXPECT_FALSE(game_state.stop_requested.load());
}

// Waits, drawing, until the search sleeps paused; false after 20 s.
bool wait_parked() {
    auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!search_parked()) {
        if (std::chrono::steady_clock::now() > give_up) return false;
        draw_once();
    }
    return true;
}

int cells_apart(const std::string& a, const std::string& b) {
    int apart = 0;
    for (size_t i = 0; i < a.size(); i++) apart += a[i] != b[i];
    return apart;
}

TEST(SolverThread, WatchedSearchPausesStepsOnAndBackAndStops) {
    reset_with_puzzle(long_puzzle());
    ASSERT_TRUE(start_search());
    for (int round = 0; round < 2; round++) {
        // Flat out the first round; a million a second the next.
        if (round == 1) pace_slower();
        for (int frame = 0; frame < 500; frame++) draw_once();
        watch_space();
        ASSERT_TRUE(wait_parked());
        std::string paused = board_text();
        uint64_t shown = watch_shared.shown.load();
        EXPECT_EQ(board_text(), paused) << "held still";

        EXPECT_TRUE(watch_step_forward());
        ASSERT_TRUE(wait_parked());
        EXPECT_EQ(watch_shared.shown.load(), shown + 1);
        std::string stepped = board_text();
        EXPECT_EQ(cells_apart(stepped, paused), 1);
        EXPECT_TRUE(watch_step_back(false));
        EXPECT_EQ(board_text(), paused);
        // Forward again retraces what was seen.
        EXPECT_TRUE(watch_step_forward());
        EXPECT_EQ(board_text(), stepped);
        EXPECT_TRUE(watch_step_back(false));
        watch_space();
        for (int frame = 0; frame < 500; frame++) draw_once();
        pace_faster();
    }
    pace_slower();
    watch_escape();
    while (game_state.solver_running.load(std::memory_order_acquire)) draw_once();
    EXPECT_EQ(board_text(), long_puzzle());
    EXPECT_FALSE(game_state.stop_requested.load());
    pace_faster();
}

// The step that completes a paused search leaves it as its replay, at its
// end, so the next arrow steps in the replay instead of moving the cursor.
TEST(SolverThread, StepThatEndsAPausedSearchGoesOnAsItsReplay) {
    std::string one_open = empty_board_solution();
    one_open[80] = '.';
    reset_with_puzzle(one_open.c_str());
    watch_shared.pace.store(0);
    ASSERT_TRUE(start_search());
    watch_space();
    ASSERT_TRUE(watch_step_forward());
    ASSERT_TRUE(wait_for_solver(20));
    watch_follow_search();
    EXPECT_TRUE(replay_showing());
    EXPECT_EQ(board_text(), empty_board_solution());
    EXPECT_TRUE(watch_step_forward()) << "at the end: nothing, not the cursor";
    EXPECT_TRUE(watch_step_back(false));
    EXPECT_EQ(board_text(), one_open);
    watch_end();
    EXPECT_EQ(board_text(), empty_board_solution());
    watch_shared.pace.store(flat_out);
}

// Paused, then set to flat out and resumed: a search the user watched at any
// time is judged at its end, with its steps and changes.
TEST(SolverThread, SearchWatchedOnceIsJudgedAtItsEnd) {
    reset_with_puzzle(ai_escargot_puzzle());
    watch_shared.pace.store(0);
    ASSERT_TRUE(start_search());
    watch_space();
    while (watch_shared.pace.load() < flat_out) pace_faster();
    watch_space();
    ASSERT_TRUE(wait_for_solver(20));
    watch_follow_search();
    EXPECT_EQ(search_verdict.verdict, Verdict::solved);
    EXPECT_EQ(search_verdict.steps, 8970u);
    EXPECT_EQ(search_verdict.changes, search_record.count.load());
}

} // namespace

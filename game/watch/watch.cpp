// The main thread's side of a search: start, stop, pace and pause.
#include "game/watch/watch.h"

#include "game/board/game_state.h"
#include "game/board/givens_history.h"
#include "game/search/search_record.h"
#include "game/search/solver.h"
#include "game/watch/search_verdict.h"
#include "game/watch/solver_state.h"
#include "game/watch/strategy_choice.h"
#include "platform/platform.h"

// The main thread's account of the search it started.
struct SearchControl {
    // Started, and not yet seen to end.
    bool started;
    // A stop was asked: the board is the search's until it ends.
    bool stopping;
    // solver_steps when it started.
    uint64_t steps_at_start;
    // Paused or paced at some time: its end is judged on the line.
    bool watched;
};

// Counted up at every start, so what follows a search knows a new one.
static uint32_t searches_started;
// The way the last search started searched.
static Strategy started_strategy;
// The givens' edits that the record and the verdict were made for.
static uint32_t recorded_edits;

static SearchControl control;

// A key waits this long at most for a paused search to fall asleep.
static constexpr double park_wait_seconds = 0.2;

bool solver_running() {
    return game_state.solver_running.load(std::memory_order_acquire);
}

static void sleep_briefly() {
    platform_sleep_until(platform_counter_now() + (int64_t)(0.0005 / platform_seconds_per_tick()));
}

bool search_parked() {
    return solver_running() && !control.stopping &&
           watch_shared.pause_requested.load(std::memory_order_relaxed) &&
           watch_shared.parked_ticket.load(std::memory_order_acquire) ==
               watch_shared.ticket.load(std::memory_order_relaxed);
}

// A paused search answers within one of its slices; a key waits for that
// rather than being lost.
bool wait_until_parked() {
    int64_t give_up =
        platform_counter_now() + (int64_t)(park_wait_seconds / platform_seconds_per_tick());
    while (!search_parked()) {
        if (!solver_running() || platform_counter_now() > give_up) return false;
        sleep_briefly();
    }
    return true;
}

// A stopped search goes straight up and ends within one of its slices; a
// key pressed meanwhile waits for that, then acts as with no search.
void wait_until_stopped() {
    if (!control.stopping) return;
    while (solver_running()) sleep_briefly();
    watch_follow_search();
}

bool solver_paused() {
    return solver_running() && watch_shared.pause_requested.load(std::memory_order_relaxed);
}

bool watch_active() {
    return watch_shared.pace.load(std::memory_order_relaxed) != flat_out || replay_showing() ||
           solver_paused() || search_verdict.verdict != Verdict::none;
}

// The search looks at the controls at its next step, even flat out.
static void tell_search() {
    game_state.stop_requested.fetch_or(stop_flat_out, std::memory_order_release);
}

bool begin_board_edit() {
    if (solver_running()) return false;
    leave_replay();
    return true;
}

bool undo_board_edit() {
    return can_undo_givens() && begin_board_edit() && undo_givens();
}

bool redo_board_edit() {
    return can_redo_givens() && begin_board_edit() && redo_givens();
}

// The givens changed: no replay of the last search, no verdict.
static void forget_record() {
    forget_verdict();
    search_record.count.store(0, std::memory_order_relaxed);
    search_record.written.store(0, std::memory_order_relaxed);
    watch_shared.shown.store(0, std::memory_order_relaxed);
    watch_shared.last_cell.store(-1, std::memory_order_relaxed);
}

// A new search: no pause, an empty record, no replay.
static void watch_reset() {
    replay_reset();
    watch_shared.pause_requested.store(false, std::memory_order_relaxed);
    watch_shared.grants.store(0, std::memory_order_relaxed);
    watch_shared.ticket.store(0, std::memory_order_relaxed);
    watch_shared.parked_ticket.store(0, std::memory_order_relaxed);
    forget_record();
}

bool start_search() {
    if (solver_running()) return false;
    leave_replay();
    game_state.selected_digit = 0;
    game_state.eraser_selected = false;
    clear_non_givens();
    watch_reset();
    // A stop pressed after the last search had cleared its flag must not end this one.
    game_state.stop_requested.store(0, std::memory_order_relaxed);
    game_state.solver_running.store(true, std::memory_order_relaxed);
    control = SearchControl{true, false, solver_steps,
                            watch_shared.pace.load(std::memory_order_relaxed) != flat_out};
    recorded_edits = game_state.givens_edits;
    searches_started++;
    started_strategy = chosen_strategy();
    if (platform_start_detached(solver_thread_main)) return true;
    game_state.solver_running.store(false, std::memory_order_relaxed);
    control.started = false;
    return false;
}

void stop_running_search() {
    if (!solver_running()) return;
    control.stopping = true;
    // Release: the steps made while parked are the solver's to see.
    game_state.stop_requested.fetch_or(stop_search, std::memory_order_release);
}

void watch_follow_search() {
    if (solver_running()) return;
    if (game_state.givens_edits != recorded_edits) {
        recorded_edits = game_state.givens_edits;
        forget_record();
    }
    if (!control.started) return;
    bool paused = watch_shared.pause_requested.load(std::memory_order_relaxed);
    bool watched =
        control.watched || paused || watch_shared.pace.load(std::memory_order_relaxed) != flat_out;
    uint64_t count = search_record.count.load(std::memory_order_relaxed);
    // Said only where the user watched: a flat-out search ends as it always has.
    if (watched) judge_search(control.stopping, solver_steps - control.steps_at_start, count);
    bool granted_end = paused && !control.stopping;
    control = SearchControl{};
    if (granted_end && count > 0) enter_replay(count);
}

static void change_pace(int step) {
    int pace = watch_shared.pace.load(std::memory_order_relaxed) + step;
    if (pace < 0 || pace > flat_out) return;
    watch_shared.pace.store((uint8_t)pace, std::memory_order_relaxed);
    if (!solver_running()) return;
    control.watched = control.watched || pace != flat_out;
    tell_search();
}

uint8_t pace_level() {
    return watch_shared.pace.load(std::memory_order_relaxed);
}

void set_pace_level(uint8_t level) {
    if (level <= flat_out) watch_shared.pace.store(level, std::memory_order_relaxed);
}

void pace_faster() {
    change_pace(1);
}

void pace_slower() {
    change_pace(-1);
}

void watch_space() {
    wait_until_stopped();
    if (solver_running()) {
        bool pause = !watch_shared.pause_requested.load(std::memory_order_relaxed);
        if (pause) watch_shared.ticket.fetch_add(1, std::memory_order_relaxed);
        control.watched = true;
        watch_shared.pause_requested.store(pause, std::memory_order_release);
        tell_search();
        return;
    }
    if (replay_showing()) {
        replay_toggle_playing();
        return;
    }
    start_search();
}

uint32_t search_number() {
    return searches_started;
}

Strategy search_strategy() {
    return started_strategy;
}

void watch_escape() {
    if (solver_running()) {
        stop_running_search();
        return;
    }
    leave_replay();
}

Motion watch_motion() {
    bool searching = solver_running() && !search_parked();
    return searching || replay_playing() ? Motion::moving : Motion::still;
}

void watch_frame(double now) {
    watch_follow_search();
    replay_frame(now);
}

// The main thread's side of a search: start, stop, pace, pause, steps and seeking.
#include "game/watch/watch.h"

#include "game/board/game_state.h"
#include "game/board/givens_history.h"
#include "game/search/search_record.h"
#include "game/search/solver.h"
#include "game/watch/search_verdict.h"
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

static bool search_running() {
    return game_state.solver_running.load(std::memory_order_acquire);
}

static void sleep_briefly() {
    platform_sleep_until(platform_counter_now() + (int64_t)(0.0005 / platform_seconds_per_tick()));
}

bool search_parked() {
    return search_running() && !control.stopping &&
           watch_shared.pause_requested.load(std::memory_order_relaxed) &&
           watch_shared.parked_ticket.load(std::memory_order_acquire) ==
               watch_shared.ticket.load(std::memory_order_relaxed);
}

// A paused search answers within one of its slices; a key waits for that
// rather than being lost.
static bool wait_parked() {
    int64_t give_up =
        platform_counter_now() + (int64_t)(park_wait_seconds / platform_seconds_per_tick());
    while (!search_parked()) {
        if (!search_running() || platform_counter_now() > give_up) return false;
        sleep_briefly();
    }
    return true;
}

// A stopped search goes straight up and ends within one of its slices; a
// key pressed meanwhile waits for that, then acts as with no search.
static void wait_stopped() {
    if (!control.stopping) return;
    while (search_running()) sleep_briefly();
    watch_follow_search();
}

static bool search_paused() {
    return search_running() && watch_shared.pause_requested.load(std::memory_order_relaxed);
}

bool watch_active() {
    return watch_shared.pace.load(std::memory_order_relaxed) != flat_out || replay_showing() ||
           search_paused() || search_verdict.verdict != Verdict::none;
}

// The search looks at the controls at its next step, even flat out.
static void tell_search() {
    game_state.stop_requested.fetch_or(stop_flat_out, std::memory_order_release);
}

bool begin_board_edit() {
    if (search_running()) return false;
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
    if (search_running()) return false;
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
    if (!search_running()) return;
    control.stopping = true;
    // Release: the steps made while parked are the solver's to see.
    game_state.stop_requested.fetch_or(stop_search, std::memory_order_release);
}

void watch_follow_search() {
    if (search_running()) return;
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
    if (!search_running()) return;
    control.watched = control.watched || pace != flat_out;
    tell_search();
}

void pace_faster() {
    change_pace(1);
}

void pace_slower() {
    change_pace(-1);
}

void watch_space() {
    wait_stopped();
    if (search_running()) {
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

// The parked board from `shown` changes to `target`, each change taken back
// or made again as the step keys do.
static void move_parked_board(uint64_t shown, uint64_t target) {
    record_move_board(shown, target);
    watch_shared.shown.store(target, std::memory_order_relaxed);
    watch_shared.last_cell.store(cell_changed_before(target), std::memory_order_relaxed);
}

bool watch_step_forward() {
    wait_stopped();
    if (replay_showing()) {
        if (replay_playing()) replay_toggle_playing();
        if (replay_position() < search_record.count.load(std::memory_order_relaxed))
            replay_show(replay_position() + 1);
        return true;
    }
    if (!search_paused()) return false;
    if (!wait_parked()) return true;
    // Read once parked: only then are they the main thread's.
    uint64_t shown = watch_shared.shown.load(std::memory_order_relaxed);
    if (shown < search_record.count.load(std::memory_order_relaxed)) {
        move_parked_board(shown, shown + 1);
        return true;
    }
    // New changes come from the search: one grant, one change.
    watch_shared.grants.fetch_add(1, std::memory_order_release);
    watch_shared.ticket.fetch_add(1, std::memory_order_release);
    return true;
}

bool watch_step_back(bool enter) {
    wait_stopped();
    if (replay_showing()) {
        if (replay_playing()) replay_toggle_playing();
        if (replay_position() > record_first()) replay_show(replay_position() - 1);
        return true;
    }
    if (!search_running()) {
        // A stop can leave the board at the oldest state held: nothing before it.
        uint64_t count = search_record.count.load(std::memory_order_relaxed);
        if (!enter || count <= record_first()) return false;
        enter_replay(count - 1);
        return true;
    }
    if (!search_paused()) return false;
    if (!wait_parked()) return true;
    uint64_t oldest = record_first();
    uint64_t shown = watch_shared.shown.load(std::memory_order_relaxed);
    if (shown > oldest) move_parked_board(shown, shown - 1);
    return true;
}

uint32_t search_number() {
    return searches_started;
}

Strategy search_strategy() {
    return started_strategy;
}

bool watch_seek(uint64_t target) {
    if (replay_showing()) {
        if (replay_playing()) replay_toggle_playing();
    } else if (!search_parked()) {
        return false;
    }
    // Read once parked: only then is it the main thread's.
    uint64_t count = search_record.count.load(std::memory_order_relaxed);
    uint64_t first = record_first();
    if (target < first) target = first;
    if (target > count) target = count;
    if (replay_showing())
        replay_show(target);
    else
        move_parked_board(watch_shared.shown.load(std::memory_order_relaxed), target);
    return true;
}

void watch_home() {
    wait_stopped();
    if (search_running() || search_record.count.load(std::memory_order_relaxed) == 0) return;
    if (replay_showing()) {
        if (replay_playing()) replay_toggle_playing();
        replay_show(record_first());
    } else {
        enter_replay(record_first());
    }
}

void watch_end() {
    leave_replay();
}

void watch_escape() {
    if (search_running()) {
        stop_running_search();
        return;
    }
    leave_replay();
}

void watch_frame(double now) {
    watch_follow_search();
    replay_frame(now);
}

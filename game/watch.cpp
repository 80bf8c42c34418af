#include "game/watch.h"

#include <cstring>

#include "game/game_state.h"
#include "game/search_record.h"
#include "game/solver.h"

const uint32_t pace_rates[pace_levels] = {1,   2,    5,    10,   20,    50,     100,    200,
                                          500, 1000, 2000, 5000, 10000, 100000, 1000000};

WatchShared watch_shared;

// A played replay at flat out takes this long from the oldest state to the last.
static constexpr double flat_out_replay_seconds = 10;

// The replay: the main thread's alone, as the search is over.
struct Replay {
    bool showing;
    bool playing;
    uint64_t position;
    // Playing: the position, time and rate it started from; a new rate
    // starts the count again from where the replay is.
    uint64_t played_from;
    double play_start;
    double play_rate;
    uint8_t cells[board_cells];
    // The board as the search left it, given back when the replay ends.
    uint8_t left_cells[board_cells];
};

static Replay replay;

static bool search_running() {
    return game_state.solver_running.load(std::memory_order_acquire);
}

bool search_parked() {
    return search_running() && watch_shared.pause_requested.load(std::memory_order_relaxed) &&
           watch_shared.parked_ticket.load(std::memory_order_acquire) ==
               watch_shared.ticket.load(std::memory_order_relaxed);
}

bool replay_showing() {
    return replay.showing;
}

uint64_t replay_position() {
    return replay.position;
}

bool replay_playing() {
    return replay.playing;
}

bool watch_active() {
    return watch_shared.pace.load(std::memory_order_relaxed) != flat_out || replay.showing ||
           (search_running() && watch_shared.pause_requested.load(std::memory_order_relaxed));
}

// The search looks at the controls at its next step, even flat out.
static void tell_search() {
    game_state.stop_requested.fetch_or(stop_flat_out, std::memory_order_release);
}

static void show_replay_position(uint64_t position) {
    record_move(replay.cells, replay.position, position);
    replay.position = position;
    for (int i = 0; i < board_cells; i++) set_cell_value(i, replay.cells[i]);
    int8_t cell = -1;
    if (position > record_oldest(search_record.count.load(std::memory_order_relaxed)))
        cell = (int8_t)change_cell(recorded_change(position - 1));
    watch_shared.last_cell.store(cell, std::memory_order_relaxed);
}

// The replay from the last state, then to `position`.
static void enter_replay(uint64_t position) {
    uint64_t count = search_record.count.load(std::memory_order_relaxed);
    for (int i = 0; i < board_cells; i++) replay.left_cells[i] = (uint8_t)cell_value(i);
    memcpy(replay.cells, search_record.last_cells, sizeof(replay.cells));
    replay.position = count;
    replay.showing = true;
    replay.playing = false;
    show_replay_position(position);
}

void leave_replay() {
    if (!replay.showing) return;
    replay.showing = false;
    replay.playing = false;
    for (int i = 0; i < board_cells; i++) set_cell_value(i, replay.left_cells[i]);
    uint64_t count = search_record.count.load(std::memory_order_relaxed);
    watch_shared.last_cell.store(count > 0 ? (int8_t)change_cell(recorded_change(count - 1))
                                           : (int8_t)-1,
                                 std::memory_order_relaxed);
}

bool begin_board_edit() {
    if (game_state.solver_running.load(std::memory_order_acquire)) return false;
    leave_replay();
    return true;
}

void forget_record() {
    search_record.count.store(0, std::memory_order_relaxed);
    watch_shared.shown.store(0, std::memory_order_relaxed);
    watch_shared.last_cell.store(-1, std::memory_order_relaxed);
}

void watch_reset() {
    replay = Replay{};
    watch_shared.pause_requested.store(false, std::memory_order_relaxed);
    watch_shared.grants.store(0, std::memory_order_relaxed);
    watch_shared.ticket.store(0, std::memory_order_relaxed);
    watch_shared.parked_ticket.store(0, std::memory_order_relaxed);
    forget_record();
}

static double replay_rate() {
    uint8_t pace = watch_shared.pace.load(std::memory_order_relaxed);
    if (pace != flat_out) return pace_rates[pace];
    uint64_t count = search_record.count.load(std::memory_order_relaxed);
    return (double)(count - record_oldest(count)) / flat_out_replay_seconds;
}

static void change_pace(int step) {
    int pace = watch_shared.pace.load(std::memory_order_relaxed) + step;
    if (pace < 0 || pace > flat_out) return;
    watch_shared.pace.store((uint8_t)pace, std::memory_order_relaxed);
    if (search_running()) tell_search();
}

void pace_faster() {
    change_pace(1);
}

void pace_slower() {
    change_pace(-1);
}

void watch_space() {
    if (search_running()) {
        bool pause = !watch_shared.pause_requested.load(std::memory_order_relaxed);
        if (pause) watch_shared.ticket.fetch_add(1, std::memory_order_relaxed);
        watch_shared.pause_requested.store(pause, std::memory_order_release);
        tell_search();
        return;
    }
    if (replay.showing) {
        replay.playing = !replay.playing;
        // From the end, a replay plays from its start again.
        uint64_t count = search_record.count.load(std::memory_order_relaxed);
        if (replay.playing && replay.position == count) show_replay_position(record_oldest(count));
        // A new start is counted from the next frame.
        replay.play_rate = 0;
        return;
    }
    start_search();
}

bool watch_step_forward() {
    if (replay.showing) {
        replay.playing = false;
        if (replay.position < search_record.count.load(std::memory_order_relaxed))
            show_replay_position(replay.position + 1);
        return true;
    }
    if (!search_running() || !watch_shared.pause_requested.load(std::memory_order_relaxed))
        return false;
    // Until the search has answered the pause, the key does nothing.
    if (!search_parked()) return true;
    uint64_t shown = watch_shared.shown.load(std::memory_order_relaxed);
    if (shown < search_record.count.load(std::memory_order_relaxed)) {
        Change change = recorded_change(shown);
        set_cell_value(change_cell(change), change_after(change));
        watch_shared.last_cell.store((int8_t)change_cell(change), std::memory_order_relaxed);
        watch_shared.shown.store(shown + 1, std::memory_order_relaxed);
        return true;
    }
    // New changes come from the search: one grant, one change.
    watch_shared.grants.fetch_add(1, std::memory_order_release);
    watch_shared.ticket.fetch_add(1, std::memory_order_release);
    return true;
}

bool watch_step_back(bool enter) {
    uint64_t count = search_record.count.load(std::memory_order_relaxed);
    uint64_t oldest = record_oldest(count);
    if (replay.showing) {
        replay.playing = false;
        if (replay.position > oldest) show_replay_position(replay.position - 1);
        return true;
    }
    if (!search_running()) {
        if (!enter || count == 0) return false;
        enter_replay(count - 1);
        return true;
    }
    if (!watch_shared.pause_requested.load(std::memory_order_relaxed)) return false;
    if (!search_parked()) return true;
    uint64_t shown = watch_shared.shown.load(std::memory_order_relaxed);
    if (shown <= oldest) return true;
    Change change = recorded_change(shown - 1);
    set_cell_value(change_cell(change), change_before(change));
    watch_shared.shown.store(shown - 1, std::memory_order_relaxed);
    watch_shared.last_cell.store(
        shown - 1 > oldest ? (int8_t)change_cell(recorded_change(shown - 2)) : (int8_t)-1,
        std::memory_order_relaxed);
    return true;
}

void watch_home() {
    if (search_running()) return;
    uint64_t count = search_record.count.load(std::memory_order_relaxed);
    if (count == 0) return;
    uint64_t oldest = record_oldest(count);
    if (replay.showing) {
        replay.playing = false;
        show_replay_position(oldest);
    } else {
        enter_replay(oldest);
    }
}

void watch_end() {
    leave_replay();
}

void watch_escape() {
    if (search_running()) {
        game_state.stop_requested.fetch_or(stop_search, std::memory_order_relaxed);
        return;
    }
    leave_replay();
}

void watch_frame(double now) {
    if (!replay.playing) return;
    double rate = replay_rate();
    if (rate != replay.play_rate) {
        replay.play_rate = rate;
        replay.played_from = replay.position;
        replay.play_start = now;
    }
    uint64_t count = search_record.count.load(std::memory_order_relaxed);
    uint64_t target = replay.played_from + (uint64_t)((now - replay.play_start) * rate);
    if (target >= count) {
        target = count;
        replay.playing = false;
    }
    if (target != replay.position) show_replay_position(target);
}

// The replay of a finished search from its record.
#include "game/watch/replay.h"

#include "game/board/game_state.h"
#include "game/search/search_record.h"
#include "game/search/search_shared.h"

// A played replay at flat out takes this long from the oldest state to the last.
static constexpr double flat_out_replay_seconds = 10;

struct Replay {
    bool showing;
    bool playing;
    uint64_t position;
    // Playing: the position, time and rate it started from; a new rate
    // starts the count again from where the replay is, and so does a start.
    uint64_t played_from;
    double play_start;
    double play_rate;
    bool play_started;
    // The board as the search left it, given back when the replay ends.
    uint8_t left_cells[board_cells];
};

static Replay replay;

bool replay_showing() {
    return replay.showing;
}

uint64_t replay_position() {
    return replay.position;
}

bool replay_playing() {
    return replay.playing;
}

static uint64_t record_count() {
    return search_record.count.load(std::memory_order_relaxed);
}

void replay_show(uint64_t position) {
    record_move_board(replay.position, position);
    replay.position = position;
    watch_shared.last_cell.store(cell_changed_before(position), std::memory_order_relaxed);
}

void enter_replay(uint64_t position) {
    for (int i = 0; i < board_cells; i++) {
        replay.left_cells[i] = (uint8_t)cell_value(i);
        set_cell_value(i, search_record.last_cells[i]);
    }
    replay.position = record_count();
    replay.showing = true;
    replay.playing = false;
    replay_show(position);
}

void leave_replay() {
    if (!replay.showing) return;
    replay.showing = false;
    replay.playing = false;
    for (int i = 0; i < board_cells; i++) set_cell_value(i, replay.left_cells[i]);
    watch_shared.last_cell.store(cell_changed_before(record_count()), std::memory_order_relaxed);
}

void replay_toggle_playing() {
    replay.playing = !replay.playing;
    if (replay.playing && replay.position == record_count()) replay_show(record_first());
    // A new start is counted from the next frame.
    replay.play_started = false;
}

void replay_reset() {
    replay = Replay{};
}

static double replay_rate() {
    uint8_t pace = watch_shared.pace.load(std::memory_order_relaxed);
    if (pace != flat_out) return pace_rates[pace];
    return (double)(record_count() - record_first()) / flat_out_replay_seconds;
}

void replay_frame(double now) {
    if (!replay.playing) return;
    double rate = replay_rate();
    if (!replay.play_started || rate != replay.play_rate) {
        replay.play_started = true;
        replay.play_rate = rate;
        replay.played_from = replay.position;
        replay.play_start = now;
    }
    uint64_t count = record_count();
    uint64_t target = replay.played_from + (uint64_t)((now - replay.play_start) * rate);
    if (target >= count) {
        target = count;
        replay.playing = false;
    }
    if (target != replay.position) replay_show(target);
}

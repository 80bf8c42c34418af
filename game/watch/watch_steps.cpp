// The step keys, seeking and the replay's ends: one change on or back, in a
// paused search or a replay.
#include "game/board/game_state.h"
#include "game/search/search_record.h"
#include "game/watch/solver_state.h"
#include "game/watch/watch.h"

// The parked board from `shown` changes to `target`, each change taken back
// or made again as the step keys do.
static void move_parked_board(uint64_t shown, uint64_t target) {
    record_move_board(shown, target);
    watch_shared.shown.store(target, std::memory_order_relaxed);
    watch_shared.last_cell.store(cell_changed_before(target), std::memory_order_relaxed);
}

bool watch_step_forward() {
    wait_until_stopped();
    if (replay_showing()) {
        if (replay_playing()) replay_toggle_playing();
        if (replay_position() < search_record.count.load(std::memory_order_relaxed))
            replay_show(replay_position() + 1);
        return true;
    }
    if (!solver_paused()) return false;
    if (!wait_until_parked()) return true;
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
    wait_until_stopped();
    if (replay_showing()) {
        if (replay_playing()) replay_toggle_playing();
        if (replay_position() > record_first()) replay_show(replay_position() - 1);
        return true;
    }
    if (!solver_running()) {
        // A stop can leave the board at the oldest state held: nothing before it.
        uint64_t count = search_record.count.load(std::memory_order_relaxed);
        if (!enter || count <= record_first()) return false;
        enter_replay(count - 1);
        return true;
    }
    if (!solver_paused()) return false;
    if (!wait_until_parked()) return true;
    uint64_t oldest = record_first();
    uint64_t shown = watch_shared.shown.load(std::memory_order_relaxed);
    if (shown > oldest) move_parked_board(shown, shown - 1);
    return true;
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
    wait_until_stopped();
    if (solver_running() || search_record.count.load(std::memory_order_relaxed) == 0) return;
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

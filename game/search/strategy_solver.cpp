// The ways of searching other than in order, run on the solver thread against
// the shared board, watched or flat out as the controls say.
#include "game/board/game_state.h"
#include "game/search/search_pace.h"
#include "game/search/search_record.h"
#include "game/search/search_shared.h"
#include "game/search/solver.h"
#include "game/search/strategy_engine.h"

// The shared board, the record and the watch's pace, told every change.
struct BoardSink {
    // Changes made, as the record counts them; at a stop after steps back,
    // what the board shows, and `made` the most made.
    uint64_t changes, made;
    PaceClock clock;
    bool watched;

    bool step() {
        solver_steps++;
        return true;
    }

    // Before each change: the stop, a change of the controls, the pace.
    bool may_change() {
        if (uint8_t requests = game_state.stop_requested.load(std::memory_order_relaxed)) {
            if (requests & stop_search) return false;
            game_state.stop_requested.fetch_and((uint8_t)~stop_flat_out, std::memory_order_acquire);
            pace_show_head(changes);
            watched = search_watched();
        }
        if (!watched) return true;
        Gate gate = pace_gate(clock, changes);
        if (gate == Gate::stop) {
            made = changes;
            changes = watch_shared.shown.load(std::memory_order_relaxed);
            return false;
        }
        // Flat out from now on; the board is back at the head.
        if (gate == Gate::flat_out) watched = false;
        return true;
    }

    bool change(int cell, int before, int after) {
        if (!may_change()) return false;
        set_cell_value(cell, after);
        record_change(changes, make_change(cell, before, after));
        if (watched) pace_changed(changes, cell);
        return true;
    }
};

bool solve_with_strategy(Strategy strategy) {
    uint8_t cells[board_cells];
    for (int i = 0; i < board_cells; i++) cells[i] = (uint8_t)cell_value(i);
    BoardSink sink = {};
    sink.clock = PaceClock{0, 0, flat_out, true, 0};
    sink.watched = search_watched();
    Engine<BoardSink> engine;
    engine_start(engine, cells, strategy, &sink);
    Ended ended = search_step(engine);
    pace_search_ended(sink.changes, sink.made);
    return ended == Ended::solved;
}

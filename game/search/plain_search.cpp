// Each way of searching on a plain board of its own, at full speed.
#include "game/search/strategies.h"

#include "game/search/search_order.h"
#include "game/search/strategy_engine.h"
#include "platform/platform.h"

const char* const strategy_names[strategy_count] = {"in order", "fewest candidates",
                                                    "singles first", "exact cover"};
const char* const strategy_keys[strategy_count] = {"in-order", "fewest", "singles", "cover"};

// Counts, and stops at the cap or the deadline (looked at every 65,536 steps).
struct PlainSink {
    uint64_t steps, changes, cap;
    int64_t deadline;
    bool capped;
    bool step() {
        steps++;
        if (steps > cap) capped = true;
        if (deadline && (steps & 0xFFFF) == 0 && platform_counter_now() > deadline) capped = true;
        return !capped;
    }
    bool change(int, int, int) {
        changes++;
        return true;
    }
};

// In order, without recursion: the open cells in reading order, each with the
// digits it has still to try and the one it holds, as the window's search.
static PlainResult search_in_order(const uint8_t givens[81], PlainSink& sink) {
    PlainResult result = {false, false, 0, 0, {}};
    memcpy(result.cells, givens, 81);
    SearchOrder order;
    order_search(givens, -1, &order);
    Houses houses = order.given;
    unsigned left[81], held[81];
    int position = 0;
    for (;;) {
        // A step: the search reaches the open cell at `position`.
        if (!sink.step()) break;
        if (position == order.open_count) {
            result.solved = true;
            for (int k = 0; k < order.open_count; k++)
                result.cells[order.open[k].index] = (uint8_t)__builtin_ctz(held[k]);
            break;
        }
        left[position] = candidates_of(houses, order.open[position]);
        held[position] = 0;
        // Back to the last cell with a digit left, emptying those without.
        while (left[position] == 0) {
            if (held[position]) {
                flip_digit(houses, order.open[position], held[position]);
                sink.changes++;
            }
            if (--position < 0) break;
        }
        if (position < 0) break;
        // The next digit, straight from the last: one change.
        unsigned bit = left[position] & (0u - left[position]);
        left[position] ^= bit;
        flip_digit(houses, order.open[position], held[position] | bit);
        held[position] = bit;
        sink.changes++;
        position++;
    }
    result.capped = sink.capped;
    result.steps = sink.steps;
    result.changes = sink.changes;
    return result;
}

PlainResult search_plain(Strategy strategy, const uint8_t givens[81], uint64_t step_cap,
                         double seconds) {
    PlainSink sink = {0, 0, step_cap, 0, false};
    if (seconds > 0)
        sink.deadline = platform_counter_now() + (int64_t)(seconds / platform_seconds_per_tick());
    if (strategy == Strategy::in_order) return search_in_order(givens, sink);
    Engine<PlainSink> engine;
    engine_start(engine, givens, strategy, &sink);
    Ended ended = search_step(engine);
    PlainResult result = {ended == Ended::solved, sink.capped, sink.steps, sink.changes, {}};
    memcpy(result.cells, ended == Ended::solved ? engine.cells : givens, 81);
    return result;
}

// Random use of the watch controls against the real solver thread: every
// state the board shows while paused, every state the record holds after a
// stop, and the board after the stop must be the search's own.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "game/board/game_state.h"
#include "game/search/search_record.h"
#include "game/search/solver.h"
#include "game/watch/watch.h"
#include "tests/unit/game_test_boards.h"

namespace {

// Far more changes than any sequence below makes.
constexpr size_t reference_limit = 24u << 20;

// The changes the search makes, in its order (open cells in reading order,
// digits rising, each cell going from one digit straight to the next), made
// by a plain search of its own.
struct Reference {
    uint8_t cells[board_cells];
    std::vector<Change> changes;
};

bool reference_fill(Reference& ref, int from) {
    int cell = from;
    while (cell < board_cells && ref.cells[cell]) cell++;
    if (cell == board_cells) return true;
    unsigned used = 0;
    int row = cell / 9, column = cell % 9, box = 27 * (row / 3) + 3 * (column / 3);
    for (int k = 0; k < 9; k++)
        used |= 1u << ref.cells[9 * row + k] | 1u << ref.cells[9 * k + column] |
                1u << ref.cells[box + 9 * (k / 3) + k % 3];
    int held = 0;
    for (int digit = 1; digit <= 9; digit++) {
        if (used & 1u << digit) continue;
        if (ref.changes.size() == reference_limit) return true;
        ref.changes.push_back(make_change(cell, held, digit));
        ref.cells[cell] = (uint8_t)(held = digit);
        if (reference_fill(ref, cell + 1)) return true;
    }
    if (held) ref.changes.push_back(make_change(cell, held, 0));
    ref.cells[cell] = 0;
    return false;
}

// A board that follows the reference's changes to any point.
struct Follower {
    const std::vector<Change>* changes;
    uint8_t cells[board_cells];
    uint64_t at;
    void go_to(uint64_t to) {
        for (; at > to; at--)
            cells[change_cell((*changes)[at - 1])] = (uint8_t)change_before((*changes)[at - 1]);
        for (; at < to; at++)
            cells[change_cell((*changes)[at])] = (uint8_t)change_after((*changes)[at]);
    }
    std::string text() const {
        std::string out;
        for (uint8_t v : cells) out += v ? (char)('0' + v) : '.';
        return out;
    }
};

void sleep_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void set_pace(int level) {
    while (watch_shared.pace.load() < level) pace_faster();
    while (watch_shared.pace.load() > level) pace_slower();
}

// Waits until a paused search sleeps; false if it does not within 2 s.
bool parked_soon() {
    for (int i = 0; i < 2000 && !search_parked(); i++) sleep_ms(1);
    return search_parked();
}

TEST(WatchRandom, EveryShownAndHeldStateIsTheSearchsOwn) {
    const char* puzzle = long_puzzle();
    reset_with_puzzle(puzzle);
    static Reference ref;
    for (int i = 0; i < board_cells; i++) ref.cells[i] = (uint8_t)cell_value(i);
    Follower follow{&ref.changes, {}, 0};
    for (int i = 0; i < board_cells; i++) follow.cells[i] = ref.cells[i];
    ref.changes.reserve(reference_limit);
    reference_fill(ref, 0);
    ASSERT_EQ(ref.changes.size(), reference_limit);
    const std::string givens = follow.text();

    unsigned seed = (unsigned)std::chrono::steady_clock::now().time_since_epoch().count();
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    for (int sequence = 0; sequence < 6; sequence++) {
        SCOPED_TRACE("sequence " + std::to_string(sequence));
        reset_with_puzzle(puzzle);
        set_pace((int)(random() % (flat_out + 1)));
        ASSERT_TRUE(start_search());
        for (int op = 0; op < 40; op++) {
            switch (random() % 10) {
            case 0:
                set_pace((int)(random() % (flat_out + 1)));
                break;
            case 1:
                set_pace(flat_out);
                break;
            case 2:
                watch_space();
                break;
            case 3:
            case 4:
                for (int n = (int)(random() % 30); n > 0; n--) watch_step_forward();
                break;
            case 5:
                for (int n = (int)(random() % 30); n > 0; n--) watch_step_back(false);
                break;
            case 6:
                // A stop with keys right behind it, then a new search.
                watch_escape();
                for (int n = (int)(random() % 20); n > 0; n--)
                    (random() % 2 ? watch_step_back(false) : watch_step_forward());
                ASSERT_TRUE(wait_for_solver(20));
                ASSERT_EQ(board_text(), givens) << "op " << op;
                ASSERT_TRUE(start_search());
                break;
            case 7:
                // A seek while paused, anywhere on the strip or beyond it.
                if (search_parked()) watch_seek(random() % (search_record.count.load() + 50));
                break;
            case 8:
                // Paused at the oldest state held, then stopped: nothing lies before it.
                if (!watch_shared.pause_requested.load()) watch_space();
                if (parked_soon()) watch_seek(0);
                watch_escape();
                ASSERT_TRUE(wait_for_solver(20));
                watch_follow_search();
                if (watch_step_back(true)) {
                    follow.go_to(replay_position());
                    ASSERT_EQ(board_text(), follow.text()) << "a step back after the stop";
                    watch_end();
                } else {
                    ASSERT_EQ(search_record.count.load(), record_first()) << "op " << op;
                }
                ASSERT_TRUE(start_search());
                break;
            default:
                sleep_ms((int)(random() % 40));
                break;
            }
            // Well short of the reference's end, even flat out.
            if (watch_shared.shown.load() > reference_limit / 3) break;
            if (watch_shared.pause_requested.load() && parked_soon()) {
                follow.go_to(watch_shared.shown.load());
                ASSERT_EQ(board_text(), follow.text()) << "paused, op " << op;
            }
        }
        watch_escape();
        ASSERT_TRUE(wait_for_solver(20));
        ASSERT_EQ(board_text(), givens);

        // The record: from its oldest state, every change the search's own.
        uint64_t count = search_record.count.load();
        if (count == 0) continue;
        watch_home();
        uint64_t oldest = replay_position();
        follow.go_to(oldest);
        ASSERT_EQ(board_text(), follow.text()) << "Home, " << oldest << " of " << count;
        for (uint64_t k = oldest; k < count; k++)
            ASSERT_EQ(recorded_change(k), ref.changes[k]) << "change " << k << " of " << count;
        follow.go_to(count);
        for (int i = 0; i < board_cells; i++)
            ASSERT_EQ(search_record.last_cells[i], follow.cells[i]);

        // The replay's keys in any order, played at any pace: every board it
        // shows is the search's own at the replay's place.
        double now = 0;
        for (int op = 0; op < 40 && replay_showing(); op++) {
            switch (random() % 6) {
            case 0:
                watch_step_back(true);
                break;
            case 1:
                watch_step_forward();
                break;
            case 2:
                watch_seek(random() % (count + 50));
                break;
            case 3:
                watch_home();
                break;
            case 4:
                set_pace((int)(random() % (flat_out + 1)));
                watch_space();
                break;
            default:
                for (int frame = 0; frame < 5; frame++) replay_frame(now += 0.02);
                break;
            }
            ASSERT_GE(replay_position(), record_first());
            ASSERT_LE(replay_position(), count);
            follow.go_to(replay_position());
            ASSERT_EQ(board_text(), follow.text()) << "replay op " << op;
        }
        watch_end();
        ASSERT_EQ(board_text(), givens) << "End: the board as the search left it";
    }
    set_pace(flat_out);
}

} // namespace

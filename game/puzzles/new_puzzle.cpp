// N and L: a puzzle made on a worker thread, and the length chosen for it.
#include "game/puzzles/new_puzzle.h"

#include <atomic>
#include <cstdio>

#include "common/number_text.h"
#include "game/board/game_state.h"
#include "game/board/givens_history.h"
#include "game/board/notice.h"
#include "game/puzzles/puzzle_maker.h"
#include "game/search/strategies.h"
#include "game/watch/watch.h"
#include "platform/platform.h"

// The other ways' steps are counted this far, for the notice of a new puzzle.
static constexpr uint64_t other_step_cap = 1u << 24;
// Past this the line says that a puzzle is being made: a few frames.
static constexpr double quiet_making_seconds = 0.05;

// The worker's job: the main thread writes the request before the start,
// the worker writes the puzzle before `done` (release).
struct MakerJob {
    PuzzleLength length;
    uint64_t seed;
    MadePuzzle made;
    // The other ways' steps on it, 0 where they took too long to count.
    uint64_t other_steps[strategy_count];
    std::atomic<bool> done;
};

struct NewPuzzle {
    PuzzleLength length{PuzzleLength::medium};
    bool making;
    bool said_making;
    double asked_at;
    // Counted up at every press, so each press gives another puzzle.
    uint64_t presses;
};

static MakerJob job;
static NewPuzzle state;

static int maker_thread_main() {
    // The screen comes first, as for the search.
    platform_lower_solver_thread_priority();
    make_puzzle(job.length, job.seed, &job.made);
    // The other ways are quick on a puzzle of one solution; a bound all the same.
    for (int way = 1; way < strategy_count; way++) {
        PlainResult result = search_plain((Strategy)way, job.made.cells, other_step_cap, 0.25);
        job.other_steps[way] = result.capped ? 0 : result.steps;
    }
    job.done.store(true, std::memory_order_release);
    return 0;
}

void new_puzzle_key(double now) {
    if (state.making || game_state.solver_running.load(std::memory_order_acquire)) return;
    job.length = state.length;
    job.seed = (uint64_t)platform_counter_now() ^ (++state.presses << 40);
    job.done.store(false, std::memory_order_relaxed);
    state.making = true;
    state.said_making = false;
    state.asked_at = now;
    if (!platform_start_detached(maker_thread_main)) {
        state.making = false;
        post_notice("a puzzle cannot be made now", now);
    }
}

PuzzleLength chosen_length() {
    return state.length;
}

void set_length(PuzzleLength length) {
    if ((int)length < puzzle_length_count) state.length = length;
}

void next_length_key(double now) {
    state.length = (PuzzleLength)(((int)state.length + 1) % puzzle_length_count);
    const LengthRange& range = puzzle_lengths[(int)state.length];
    char least[number_text_size], most[number_text_size], words[96];
    number_text(range.least, least);
    number_text(range.most, most);
    if (range.least == 0)
        snprintf(words, sizeof(words), "new puzzles: %s, at most %s steps", range.name, most);
    else
        snprintf(words, sizeof(words), "new puzzles: %s, %s to %s steps", range.name, least, most);
    post_notice(words, now);
}

Motion new_puzzle_motion() {
    if (!state.making) return Motion::still;
    // Drawn until the line says a puzzle is being made, which a frame posts.
    if (!state.said_making || job.done.load(std::memory_order_acquire)) return Motion::moving;
    return Motion::waiting;
}

void new_puzzle_frame(double now) {
    if (!state.making) return;
    if (!job.done.load(std::memory_order_acquire)) {
        if (!state.said_making && now - state.asked_at > quiet_making_seconds) {
            char words[64];
            snprintf(words, sizeof(words), "making a %s puzzle...",
                     puzzle_lengths[(int)job.length].name);
            post_lasting_notice(words);
            state.said_making = true;
        }
        return;
    }
    state.making = false;
    // A search started meanwhile owns the board; the user chose it over the new puzzle.
    if (!begin_board_edit()) {
        if (state.said_making) take_back_notice();
        return;
    }
    set_givens_from(job.made.cells);
    note_givens_change();
    char steps[number_text_size], words[notice_capacity];
    number_text(job.made.steps, steps);
    int length = snprintf(words, sizeof(words), "a %s puzzle: the search takes %s steps",
                          puzzle_lengths[(int)job.length].name, steps);
    // And the other ways' steps, where they were counted.
    for (int way = 1; way < strategy_count && length < (int)sizeof(words); way++) {
        if (!job.other_steps[way]) continue;
        number_text(job.other_steps[way], steps);
        length += snprintf(words + length, sizeof(words) - (size_t)length, "   %s %s",
                           strategy_keys[way], steps);
    }
    post_notice(words, now);
}

// The record of a search: every change it made to the board, in order, in a
// buffer that wraps and keeps the newest changes.
#pragma once

#include <atomic>
#include <cstdint>

#include "game/board/game_state.h"

// A change of one cell, in 16 bits: the cell in the high byte, the digit
// before and after in the low one.
using Change = uint16_t;

constexpr Change make_change(int cell, int before, int after) {
    return (Change)(cell << 8 | before << 4 | after);
}
// The change that empties a cell, made into the one that puts `after` there instead.
constexpr Change change_to(Change emptying, int after) {
    return (Change)(emptying | after);
}
constexpr int change_cell(Change change) {
    return change >> 8;
}
constexpr int change_before(Change change) {
    return change >> 4 & 15;
}
constexpr int change_after(Change change) {
    return change & 15;
}
// How the change moves the search's depth: a fill +1, an emptying -1, a new digit 0.
constexpr int change_depth_step(Change change) {
    return (change_before(change) == 0) - (change_after(change) == 0);
}

// 4,194,304 changes in 8 MiB.
constexpr uint64_t record_capacity = 1u << 22;

struct SearchRecord {
    Change changes[record_capacity];
    // Changes the board shows, as the search left it or paused it; change k
    // lies at k mod the capacity. The solver thread writes it, and it is exact
    // for the main thread while the search is parked or over.
    std::atomic<uint64_t> count;
    // The most changes the search ever made, which a stop after steps back
    // leaves above `count`: what the buffer holds is counted from here.
    std::atomic<uint64_t> written;
    // The board after the last change (the search's own cleanup may have
    // changed the board since), written when the search ends.
    uint8_t last_cells[board_cells];
};

extern SearchRecord search_record;

// The solver's write: no check, no atomic, so it costs the flat-out search
// next to nothing. `count` is the solver's own copy.
inline void record_change(uint64_t& count, Change change) {
    search_record.changes[count & (record_capacity - 1)] = change;
    count++;
}

// The number of the oldest change still held after `written` changes.
inline uint64_t record_oldest(uint64_t written) {
    return written > record_capacity ? written - record_capacity : 0;
}

// The oldest state the record holds, as the main thread sees it.
inline uint64_t record_first() {
    return record_oldest(search_record.written.load(std::memory_order_relaxed));
}

inline Change recorded_change(uint64_t number) {
    return search_record.changes[number & (record_capacity - 1)];
}

// Takes a board that shows the state after `from` changes to the state after
// `to`, taking back or making again each held change in turn; both lie within
// what is held. `write(cell, value)` writes one cell of that board.
template <typename Write> void record_move(uint64_t from, uint64_t to, Write write) {
    for (; from > to; from--) {
        Change change = recorded_change(from - 1);
        write(change_cell(change), change_before(change));
    }
    for (; from < to; from++) {
        Change change = recorded_change(from);
        write(change_cell(change), change_after(change));
    }
}

// The game's board moved so, as the step keys, a seek and the replay move it.
inline void record_move_board(uint64_t from, uint64_t to) {
    record_move(from, to, set_cell_value);
}

// The cell of the change that led to the state after `position` changes, -1
// for the oldest state held.
inline int8_t cell_changed_before(uint64_t position) {
    return position > record_first() ? (int8_t)change_cell(recorded_change(position - 1))
                                     : (int8_t)-1;
}

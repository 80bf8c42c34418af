// An animated GIF of a search: each frame the board after some of its
// changes, put together from pictures of cells, storing only what changed.
#pragma once

#include <atomic>
#include <cstdint>

#include "game/search/search_record.h"

// Two pictures of the grid at one size, RGBA, top row first: in `plain` the
// cells of the first row hold the givens 1 to 9 and those of the second the
// search's 1 to 9, the others are empty; `outlined` is the same with every
// cell outlined as the last change is.
struct CellSheets {
    const uint8_t* plain;
    const uint8_t* outlined;
    int width, height;
    // The inside of each column's and row's cells, clear of the grid lines.
    int cell_left[9], cell_top[9];
    int cell_side;
};

// An empty cell of the sheets.
constexpr int sheet_empty_cell = 40;

// What the film shows: the board at its start (0 for empty) and which cells
// are givens, the changes after it, and the pace they are shown at.
struct FilmPlan {
    const uint8_t* start;
    const uint8_t* given;
    const Change* changes;
    uint64_t count;
    uint32_t rate;
};

// Frames at most, and the shortest time a frame shows (GIF players show
// shorter ones slower), in hundredths of a second.
constexpr uint32_t film_most_frames = 3000;
constexpr uint32_t film_shortest_delay = 2;
// The last frame is held this long after its own time.
constexpr uint32_t film_last_hold = 200;

// How many frames a film of `count` changes at `rate` a second has: one a
// change, fewer where the changes come faster than the shortest delay or
// there are more than film_most_frames.
uint32_t film_frame_count(uint64_t count, uint32_t rate);
// Where frame `frame` of `frames` lies, in changes from the start: evenly
// spread, the first at 0 and the last at `count`.
uint64_t film_frame_position(uint32_t frame, uint32_t frames, uint64_t count);

// The worker's progress, and the main thread's wish to stop it.
struct FilmProgress {
    std::atomic<uint32_t> frames_done;
    std::atomic<bool> cancel;
};

// The GIF's bytes in a new buffer for free(); null when cancelled or when
// memory or the encoder fail.
uint8_t* encode_film(const CellSheets& sheets, const FilmPlan& plan, FilmProgress* progress,
                     int* length);

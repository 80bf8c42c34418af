// What an animation of the search shows: from the oldest state the record
// holds (the givens when the whole search fits) up to the change shown.
#pragma once

#include "game/board/game_state.h"
#include "game/search/search_record.h"

struct SearchFilm {
    uint8_t start[board_cells];
    uint8_t given[board_cells];
    // A copy of the changes after the start, for free(): a new search may
    // write the record meanwhile.
    Change* changes;
    uint64_t count;
    // Changes a second: the pace, or 50 at flat out.
    uint32_t rate;
};

// In a replay or a paused search whose thread sleeps: the film up to the
// change shown. False when neither shows, no change is shown, or there is no
// memory for the copy.
bool take_search_film(SearchFilm* film);

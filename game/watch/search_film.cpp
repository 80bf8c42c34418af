// The search's film, taken from the record on the main thread.
#include "game/watch/search_film.h"

#include <cstdlib>

#include "game/search/search_shared.h"
#include "game/watch/replay.h"
#include "game/watch/watch.h"

// Flat out has no pace of its own: a film of it plays at this.
static constexpr uint32_t flat_out_film_rate = 50;

bool take_search_film(SearchFilm* film) {
    bool replay = replay_showing();
    if (!replay && !search_parked()) return false;
    uint64_t shown =
        replay ? replay_position() : watch_shared.shown.load(std::memory_order_relaxed);
    uint64_t first = record_first();
    if (shown <= first) return false;
    film->count = shown - first;
    film->changes = (Change*)malloc(film->count * sizeof(Change));
    if (!film->changes) return false;
    for (uint64_t k = 0; k < film->count; k++) film->changes[k] = recorded_change(first + k);
    for (int i = 0; i < board_cells; i++) {
        film->start[i] = (uint8_t)cell_value(i);
        film->given[i] = game_state.board.given[i];
    }
    record_move(shown, first, [film](int cell, int value) { film->start[cell] = (uint8_t)value; });
    uint8_t pace = watch_shared.pace.load(std::memory_order_relaxed);
    film->rate = pace == flat_out ? flat_out_film_rate : pace_rates[pace];
    return true;
}

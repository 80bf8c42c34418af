// Why a way of searching made a change: the facts it had, found again from the
// board before the change and the way's own rule, for the screen to tell.
#pragma once

#include <cstdint>

#include "game/search/search_record.h"
#include "game/search/strategies.h"

enum class StoryKind : uint8_t {
    none,
    // A digit put in: after the cell's last, or the lowest candidate of the
    // first empty cell; the digits passed over are named.
    placed,
    // The empty cell with the fewest candidates, its lowest put in.
    fewest_candidates,
    // Singles first: a cell's only candidate, or a digit's one place in a house.
    only_candidate,
    one_place,
    // Exact cover: a digit in a house with the fewest places.
    fewest_places,
    // A cell emptied: no candidate after the digit it held.
    all_taken,
    // Singles first: a step's single taken back at a dead end, or later.
    dead_end,
    taken_back,
    // Exact cover: a digit leaves a place in its house.
    leaves_place,
};

struct ChangeStory {
    StoryKind kind;
    int8_t cell;
    uint8_t before, after;
    // The digits passed over, or left after an emptied cell's digit, or ruled
    // out of a cell with few candidates, each with the peer that holds it
    // (the first in the cell's row, then column, then box) and that house.
    uint8_t passed_count;
    uint8_t passed_digits[9];
    int8_t passed_peers[9];
    uint8_t passed_houses[9];
    // The cell's candidates before the change.
    unsigned candidates;
    // The house and digit of a single's place or of a cover's choice, with
    // the digit's places there; house -1 for none.
    int8_t house;
    uint8_t digit;
    uint8_t place_count;
    int8_t places[9];
    // A dead end: an empty cell with no candidate, or else a house with a
    // missing digit that has no place; -1 for none.
    int8_t dead_cell;
    int8_t dead_house;
    uint8_t dead_digit;
};

// What `change` did to `before` (the board before it, 0 for an empty cell)
// and why, as the way of searching saw it.
void tell_change(const uint8_t before[81], Change change, Strategy strategy, ChangeStory* story);

// Each way of searching's reasons for a change, asked of its own rules again.
#include "game/search/change_story.h"

#include <cstring>

#include "game/search/strategy_engine.h"

// The looks at a board never search, so they tell no one.
struct NoSink {};
using Look = Engine<NoSink>;

// Each digit of `digits` with the first peer that holds it: in the cell's
// row, then its column, then its box.
static void add_passed(ChangeStory* story, const Look& look, int cell, unsigned digits) {
    for (; digits; digits &= digits - 1) {
        int digit = __builtin_ctz(digits);
        for (int house : cell_houses.of[cell]) {
            int peer = -1;
            for (int k = 0; k < 9 && peer < 0; k++) {
                int other = house_cell((HouseKind)(house / 9), house % 9, k);
                if (look.cells[other] == digit) peer = other;
            }
            if (peer < 0) continue;
            int n = story->passed_count++;
            story->passed_digits[n] = (uint8_t)digit;
            story->passed_peers[n] = (int8_t)peer;
            story->passed_houses[n] = (uint8_t)house;
            break;
        }
    }
}

// The digits above `digit`, up to 9.
static unsigned digits_above(int digit) {
    return all_digits & ~(digit_bit(digit + 1) - 1);
}

static void set_house(ChangeStory* story, const Look& look, int house, int digit) {
    uint8_t places[9];
    story->house = (int8_t)house;
    story->digit = (uint8_t)digit;
    story->place_count = (uint8_t)digit_places(look.marks, house, digit, places);
    for (int k = 0; k < story->place_count; k++) story->places[k] = (int8_t)places[k];
}

// The next single on this board, if any: false at a dead end or with none.
static bool single_next(const Look& look, int* cell, int* digit, bool* only_candidate) {
    return !dead_end(look.marks) && next_single(look, cell, digit, only_candidate);
}

// A single put in, or false when the change was no single.
static bool tell_single(ChangeStory* story, const Look& look) {
    int cell, digit;
    bool only_candidate;
    if (!single_next(look, &cell, &digit, &only_candidate)) return false;
    if (cell != story->cell || digit != story->after) return false;
    if (only_candidate) {
        story->kind = StoryKind::only_candidate;
        add_passed(story, look, cell, all_digits & ~story->candidates);
        return true;
    }
    story->kind = StoryKind::one_place;
    for (int house : cell_houses.of[cell]) {
        set_house(story, look, house, digit);
        if (story->place_count == 1) break;
    }
    return true;
}

// The dead end singles first met on the board before its take-back: the
// first empty cell with no candidate, else the first missing digit with no
// place in a house.
static void find_dead_end(ChangeStory* story, const Look& look) {
    for_each_empty(look, [&](int cell) {
        if (look.marks.of[cell]) return true;
        story->dead_cell = (int8_t)cell;
        return false;
    });
    if (story->dead_cell >= 0) return;
    for (int house = 0; house < house_count; house++) {
        for (unsigned missing = all_digits & ~look.houses.held[house]; missing;
             missing &= missing - 1) {
            int digit = __builtin_ctz(missing);
            if (place_count(look.marks, house, digit) > 0) continue;
            story->dead_house = (int8_t)house;
            story->dead_digit = (uint8_t)digit;
            return;
        }
    }
}

static void tell_placed(ChangeStory* story, const Look& look, Strategy strategy) {
    int cell = story->cell, before = story->before, after = story->after;
    unsigned below = all_digits & (digit_bit(after) - 1) & digits_above(before);
    // A digit after the cell's last, straight from it, in every way.
    if (before || strategy == Strategy::in_order) {
        story->kind = StoryKind::placed;
        add_passed(story, look, cell, below & ~story->candidates);
        return;
    }
    if (strategy == Strategy::singles && tell_single(story, look)) return;
    if (strategy == Strategy::cover && !dead_end(look.marks)) {
        CoverChoice choice = cover_choice(look);
        if (choice.house >= 0 && choice.digit == after) {
            story->kind = StoryKind::fewest_places;
            set_house(story, look, choice.house, choice.digit);
            return;
        }
    }
    story->kind = StoryKind::fewest_candidates;
    add_passed(story, look, cell, all_digits & ~story->candidates);
}

static void tell_emptied(ChangeStory* story, const Look& look, const uint8_t before[81],
                         Strategy strategy) {
    int cell, digit;
    bool only_candidate;
    if (strategy == Strategy::singles && single_next(look, &cell, &digit, &only_candidate)) {
        // A single of this step taken back: the first at its dead end.
        Look held;
        engine_start(held, before, strategy, (NoSink*)nullptr);
        bool dead = dead_end(held.marks);
        story->kind = dead ? StoryKind::dead_end : StoryKind::taken_back;
        if (dead) find_dead_end(story, held);
        return;
    }
    if (strategy == Strategy::cover && !dead_end(look.marks)) {
        CoverChoice choice = cover_choice(look);
        if (choice.house >= 0 && choice.digit == story->before) {
            story->kind = StoryKind::leaves_place;
            set_house(story, look, choice.house, choice.digit);
            return;
        }
    }
    story->kind = StoryKind::all_taken;
    add_passed(story, look, story->cell, digits_above(story->before) & ~story->candidates);
}

void tell_change(const uint8_t before[81], Change change, Strategy strategy, ChangeStory* story) {
    memset(story, 0, sizeof(*story));
    story->cell = (int8_t)change_cell(change);
    story->before = (uint8_t)change_before(change);
    story->after = (uint8_t)change_after(change);
    story->house = story->dead_cell = story->dead_house = -1;
    if (story->cell >= 81 || story->before == story->after) return;
    // The board as the way chose: the changed cell empty.
    uint8_t cells[81];
    memcpy(cells, before, sizeof(cells));
    cells[story->cell] = 0;
    Look look;
    engine_start(look, cells, strategy, (NoSink*)nullptr);
    story->candidates = candidates_of(look.houses, story->cell);
    if (story->after)
        tell_placed(story, look, strategy);
    else
        tell_emptied(story, look, before, strategy);
}

// The way of searching chosen for the next search, and its words.
#include "game/watch/strategy_choice.h"

#include <cstdio>

#include "game/board/game_state.h"
#include "game/board/notice.h"
#include "game/search/search_shared.h"

const char* const strategy_rules[strategy_count] = {
    "the first empty cell in reading order, digits rising",
    "the empty cell with the fewest candidates first",
    "cells and houses with one choice first, then the fewest candidates",
    "the constraint with the fewest options first: a cell, or a digit in a house",
};

Strategy chosen_strategy() {
    return (Strategy)watch_shared.strategy.load(std::memory_order_relaxed);
}

void use_strategy(Strategy strategy) {
    watch_shared.strategy.store((uint8_t)strategy, std::memory_order_relaxed);
}

bool choose_strategy(Strategy strategy, double now) {
    if (game_state.solver_running.load(std::memory_order_acquire)) {
        post_notice("the way of searching waits: a search is running", now);
        return false;
    }
    use_strategy(strategy);
    char words[128];
    snprintf(words, sizeof(words), "search %s   %s", strategy_names[(int)strategy],
             strategy_rules[(int)strategy]);
    post_notice(words, now);
    return true;
}

void next_strategy(double now) {
    choose_strategy((Strategy)(((int)chosen_strategy() + 1) % strategy_count), now);
}

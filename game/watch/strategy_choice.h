// The way of searching the next search takes: S moves through the four.
#pragma once

#include "game/search/strategies.h"

// What each way does, in a sentence a learner understands.
extern const char* const strategy_rules[strategy_count];

Strategy chosen_strategy();
// The way for the next search, unsaid: the last run's, at start.
void use_strategy(Strategy strategy);
// S: the next way, said on the line under the palette; not while a search
// runs (the line says so).
void next_strategy(double now);
// The way for the next search, said on the line; false while a search runs.
bool choose_strategy(Strategy strategy, double now);

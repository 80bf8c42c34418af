// The paces and the controls the main thread and the solver thread share.
#include "game/search/search_shared.h"

const uint32_t pace_rates[pace_levels] = {1,   2,    5,    10,   20,    50,     100,    200,
                                          500, 1000, 2000, 5000, 10000, 100000, 1000000};

WatchShared watch_shared;

// The change the board shows while the search is watched, and why it was made.
#pragma once

#include "game/search/change_story.h"
#include "game/watch/search_verdict.h"

struct ShownChange {
    // The state after `number` changes of the search numbered `search`.
    uint64_t number;
    uint32_t search;
    ChangeStory story;
    // The search's first change, or the one it ended at (its verdict).
    bool first;
    Verdict ending;
};

// The change a paced or paused search, its replay or its end shows, with its
// story; false when none shows. Cheap when asked again for the same change.
bool shown_change(ShownChange* out);

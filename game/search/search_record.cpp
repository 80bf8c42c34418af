// The record of every change the search made, shared by both threads.
#include "game/search/search_record.h"

SearchRecord search_record;

// Watching the search from the main thread: starting and stopping it, its
// pace, pausing it, stepping it on and back, and the replay's keys. The keys
// and clicks call these.
#pragma once

#include "game/board/motion.h"
#include "game/search/search_shared.h"
#include "game/search/strategies.h"
#include "game/watch/replay.h"

// The Solve button's start: drops the selection and the solver's old digits,
// sets the flags and starts the detached worker. False while a search runs
// or when it cannot start.
bool start_search();
// Escape, the Stop click: from now on the board is the search's until it has
// ended, and no step key writes it.
void stop_running_search();

// The search is paused, its thread sleeps and no stop was asked: the main
// thread may read the record and change the board.
bool search_parked();
// Anything to show: a pace other than flat out, a paused search or a replay.
bool watch_active();

// + and -: the next pace up or down.
void pace_faster();
void pace_slower();
// The pace as a level of pace_rates, flat_out for flat out; set at start to
// the last run's.
uint8_t pace_level();
void set_pace_level(uint8_t level);
// Space: pauses or resumes a search, plays or pauses a replay, else starts a
// search as Solve does.
void watch_space();
// One change on or back while paused or in a replay; false when neither
// shows, so the key may serve something else. `enter_replay` lets a step back
// after a search start the replay.
bool watch_step_forward();
bool watch_step_back(bool enter_replay);
// Shows the state after `target` changes, within what the record holds: in a
// replay, or in a paused search whose thread sleeps (up to the furthest change
// made; a resume retraces from there). False when neither shows.
bool watch_seek(uint64_t target);
// Counted up at every start of a search.
uint32_t search_number();
// The way of searching of the last search started, for its replay too.
Strategy search_strategy();
// Home: the replay from the oldest state held. End: out of the replay.
void watch_home();
void watch_end();
// Escape: a running search stops, a replay is left.
void watch_escape();
// Every edit from the keyboard, a paste, undo and redo start here: a replay
// is left, and false while a search owns the board.
bool begin_board_edit();
// Ctrl+Z and Ctrl+Y: the givens a step back or on, with begin_board_edit
// first; a replay stays where there is no step to take.
bool undo_board_edit();
bool redo_board_edit();
// Every frame and every input first take note of a search that has ended (one
// ended by a step granted while paused goes on as its replay, at its end) and
// of edits of the givens, which drop the record and the verdict.
void watch_follow_search();
// Plays a replay on, once per frame.
void watch_frame(double now);
// Moving while a search runs (not while it sleeps paused) or a replay plays.
Motion watch_motion();

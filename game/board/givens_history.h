// Undo and redo of the givens: their last states in a fixed ring, each change
// of the givens one step. The history lasts for the run and is not saved.
#pragma once

constexpr int history_steps = 1000;

// Forgets every step; the givens as they are become the state undo stops at.
void history_start();
// After any change of the givens (a click, a typed digit or erase, Clear, a
// paste): their new state becomes one step, what could be redone is dropped,
// and the save follows. A "change" that left the givens as they were adds no step.
void note_givens_change();
// Whether there is a step back or forward.
bool can_undo_givens();
bool can_redo_givens();
// Back or forward one step, marking the givens changed so the save follows.
// False, with nothing changed, when there is no step. Only while the board
// is the main thread's (see begin_board_edit).
bool undo_givens();
bool redo_givens();

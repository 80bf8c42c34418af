// The one line of words under the palette. It says where a watched search or
// its replay is, how a watched search ended, what is wrong with the givens,
// and what the user just did (a length chosen, a puzzle being made or made).
//
// When two want the line: a notice (game/board/notice.h) shows alone while
// it lasts. Otherwise the line shows, in this order and as many as apply, the
// status, the verdict of the last watched search and the first conflict of
// the givens; the first two only where the status line shows, the conflict
// also while the cell cursor shows.
//
// Where the window is too narrow for one row, the line breaks between its
// groups (those the status and notices set apart by three spaces) into rows.
#pragma once

// Whether the line shows the watch's own words (status, verdict, conflict):
// where the user has asked to see more, and the conflicts are marked.
bool status_line_shown();
// Whether givens that break the rules are marked and named: where the status
// line shows, and while the cell cursor shows.
bool conflicts_shown();
// Draws the line, in as many rows as the window's width needs.
void draw_message_line(double now);
// The lowest unit the line's rows reached in this frame, 0 when none showed.
float message_line_foot();

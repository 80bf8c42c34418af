// The notice: a few words on what the user just did (a puzzle opened, a
// length chosen, a puzzle being made), posted by whoever did it and shown by
// the screen on the line under the palette. The newest replaces the last.
#pragma once

// Room for a notice's words and their zero.
constexpr int notice_capacity = 128;

// Shows for notice_seconds from `now`.
void post_notice(const char* text, double now);
// Shows for notice_seconds from the first time it is looked at: for those
// that post without a clock (a click).
void post_notice(const char* text);
// Shows until another notice replaces it or it is taken back.
void post_lasting_notice(const char* text);
void take_back_notice();
// A notice that goes by itself shows: the line changes when its time is up.
bool notice_timed();
// The words to show at `now`, null when no notice shows (one that has run
// its time is then gone).
const char* notice_showing(double now);

// The card of every key, drawn over the board.
#include "game/screen/key_card.h"

#include <cstdint>

#include "game/screen/card_frame.h"
#include "game/screen/screen_colours.h"
#include "render/renderer.h"
#include "text/font.h"
#include "text/text_object.h"

enum KeyGroup : uint8_t {
    the_mouse,
    editing,
    solving_and_watching,
    the_window,
    pictures_and_clipboard,
    group_count
};

static const char* const group_titles[group_count] = {
    "The mouse", "Editing", "Solving and watching", "The window", "Pictures, clipboard"};

struct KeyCardRow {
    KeyGroup group;
    const char* keys;
    const char* what;
};

// Every key and click of the program, here and only here; the card is drawn from it.
static const KeyCardRow key_card_rows[] = {
    {the_mouse, "A digit", "pick it; again: drop it"},
    {the_mouse, "A cell", "put the digit in, or take it out"},
    {the_mouse, "X  Clear", "erase with clicks; empty the board"},
    {the_mouse, "Solve  Stop", "start the search, stop it"},
    {the_mouse, "The wheel", "search faster (away), slower"},
    {the_mouse, "The strip", "click or drag: show that change"},
    {editing, "Arrows", "show the cell cursor, move it"},
    {editing, "1 to 9", "type the given, move on; or pick it"},
    {editing, "0", "empty the cell, move on"},
    {editing, "Delete  Backspace", "empty the cell; the one before"},
    {editing, "Escape", "hide the cursor, drop the selection"},
    {editing, "Ctrl+Z  Ctrl+Y", "undo, redo (Ctrl+Shift+Z too)"},
    {editing, "N", "a new puzzle of the chosen length"},
    {editing, "L", "how long the next puzzles take"},
    {editing, "PageDown  PageUp", "next, previous puzzle of the file"},
    {solving_and_watching, "Space", "start, pause or resume the search"},
    {solving_and_watching, "S", "the next way of searching"},
    {solving_and_watching, "C", "all four ways compared"},
    {solving_and_watching, "+  -", "search faster, slower"},
    {solving_and_watching, ".  Right", "one change on (paused or replay)"},
    {solving_and_watching, ",  Left", "one change back (paused or replay)"},
    {solving_and_watching, "Home  End", "after a search: its replay; leave it"},
    {solving_and_watching, "M", "every empty cell's candidates"},
    {solving_and_watching, "Escape", "stop the search, leave the replay"},
    {the_window, "Alt+Enter", "full screen, or back"},
    {the_window, "?  F1", "this card: any key or click closes it"},
    {the_window, "Q", "quit"},
    {pictures_and_clipboard, "P", "a picture of the board"},
    {pictures_and_clipboard, "Shift+P", "an animation up to this change"},
    {pictures_and_clipboard, "Ctrl+V", "paste a puzzle"},
    {pictures_and_clipboard, "Ctrl+C", "copy the board"},
};

constexpr int row_count = (int)(sizeof(key_card_rows) / sizeof(key_card_rows[0]));

// Sizes in logical units.
constexpr float heading_height = 40;
constexpr float row_height = 22;
constexpr float column_gap = 16;

struct KeyCard {
    TextObject titles[group_count];
    TextObject keys[row_count];
    TextObject whats[row_count];
    float keys_width; // of the widest keys text
    bool tried, made;
};

bool key_card_shown;
static KeyCard card;

static bool make_card() {
    if (!register_font("card_font", "arialbd.ttf", 18)) return false;
    for (int g = 0; g < group_count; g++) {
        if (!create_text_object(&card.titles[g], "solve_font", group_titles[g])) return false;
    }
    for (int i = 0; i < row_count; i++) {
        if (!create_text_object(&card.keys[i], "card_font", key_card_rows[i].keys)) return false;
        if (!create_text_object(&card.whats[i], "card_font", key_card_rows[i].what)) return false;
        if (card.keys[i].width > card.keys_width) card.keys_width = card.keys[i].width;
    }
    return true;
}

void show_key_card() {
    // Made once: a font or text that cannot be made now never will be.
    if (!card.tried) card.made = make_card();
    card.tried = true;
    key_card_shown = card.made;
}

void draw_key_card() {
    Vec2 top_left =
        draw_card_frame(2 * card_margin + group_count * heading_height + row_count * row_height);

    float keys_left = top_left.x + card_margin;
    float what_left = keys_left + card.keys_width + column_gap;
    float y = top_left.y + card_margin;
    for (int g = 0; g < group_count; g++) {
        draw_left_aligned(&card.titles[g], keys_left, y + heading_height / 2);
        y += heading_height;
        for (int i = 0; i < row_count; i++) {
            if (key_card_rows[i].group != g) continue;
            draw_left_aligned(&card.keys[i], keys_left, y + row_height / 2);
            draw_left_aligned(&card.whats[i], what_left, y + row_height / 2);
            y += row_height;
        }
    }
}

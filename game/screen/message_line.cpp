// The line under the palette: a notice, or the status, verdict and conflict, in rows.
#include "game/screen/message_line.h"

#include <cstdio>
#include <cstring>

#include "game/board/game_state.h"
#include "game/board/givens_check.h"
#include "game/board/notice.h"
#include "game/screen/layout.h"
#include "game/screen/line_words.h"
#include "game/screen/screen_colours.h"
#include "game/screen/story_words.h"
#include "game/screen/watch_screen.h"
#include "game/watch/watch.h"
#include "text/text_object.h"

// Room kept free at either side of a row.
static constexpr float row_margin = 10;
// A part's words split where they have a wide gap, for narrow windows; the
// story of a change may have more parts than a notice.
static constexpr int pieces_a_part = 4;
static constexpr int story_pieces = 6;
static constexpr int group_capacity = story_pieces + status_group_capacity + 2;
static constexpr int row_capacity = group_capacity;

// A text laid out again only when its words change, never per frame.
struct LinePiece {
    TextObject text;
    bool made;
};

// A notice, verdict or conflict: its words in pieces between wide gaps.
struct LinePart {
    LinePiece pieces[story_pieces];
    int count;
};

// What goes on a row: a group of the status, or a piece of a part.
struct Group {
    const TextObject* text; // nullptr for the status group of that number
    int status_group;
    float width;
    // The last group of its row.
    bool row_end;
};

struct MessageLine {
    LinePart notice, story, verdict, conflict;
    float foot;
};

static MessageLine message;

// Makes or changes the piece's text; false when no text can be had.
static bool set_piece(LinePiece& piece, const char* words) {
    if (!piece.made) {
        piece.made = create_text_object(&piece.text, "status_font", words);
        return piece.made;
    }
    if (strcmp(piece.text.text, words) != 0) set_text(&piece.text, words);
    return true;
}

// Splits the words at the status's own gap, three spaces, into at most
// `most` pieces; the last takes what is left. False when no text can be had.
static bool set_part(LinePart& part, const char* words, int most) {
    part.count = 0;
    if (!words[0] || !status_font_ready()) return false;
    while (part.count < most) {
        const char* gap = part.count + 1 < most ? strstr(words, status_gap_text) : nullptr;
        char piece[text_max_length + 1];
        int length = gap ? (int)(gap - words) : (int)strlen(words);
        snprintf(piece, sizeof(piece), "%.*s", length, words);
        if (!set_piece(part.pieces[part.count], piece)) return false;
        part.count++;
        if (!gap) break;
        words = gap + strlen(status_gap_text);
    }
    return true;
}

bool status_line_shown() {
    return watch_active();
}

bool conflicts_shown() {
    return game_state.cursor_shown || status_line_shown();
}

float message_line_foot() {
    return message.foot;
}

static void add_part(const LinePart& part, Group* groups, int& count) {
    for (int i = 0; i < part.count && count < group_capacity; i++)
        groups[count++] = Group{&part.pieces[i].text, 0, (float)part.pieces[i].text.width, false};
}

// Rows of groups as many as fit the window's width each, centred on the
// palette; more rows reach up towards the palette, and the foot goes down.
static void draw_rows(const Group* groups, int count, float y) {
    if (count == 0) return;
    float gap = status_gap();
    float limit = (float)view_width - 2 * row_margin;
    int row_starts[row_capacity + 1];
    int rows = 0;
    float width = 0;
    for (int i = 0; i < count; i++) {
        float wider = width + (width > 0 ? gap : 0) + groups[i].width;
        bool after_end = i > 0 && groups[i - 1].row_end;
        if (rows == 0 || after_end || (wider > limit && width > 0)) {
            row_starts[rows++] = i;
            wider = groups[i].width;
        }
        width = wider;
    }
    row_starts[rows] = count;

    float height = status_row_height();
    float palette_foot = game_layout.palette_centres[7].y + small_button_size.y / 2;
    float first = y - (float)(rows - 1) * height / 2;
    if (first < palette_foot + height / 2) first = palette_foot + height / 2;
    float centre_x = game_layout.palette_centres[7].x;
    for (int r = 0; r < rows; r++) {
        float row_width = 0;
        for (int i = row_starts[r]; i < row_starts[r + 1]; i++)
            row_width += (i > row_starts[r] ? gap : 0) + groups[i].width;
        float left = centre_x - (float)(int)(row_width / 2);
        float row_y = first + height * (float)r;
        for (int i = row_starts[r]; i < row_starts[r + 1]; i++) {
            const Group& group = groups[i];
            if (group.text) {
                draw_text(group.text, Vec2{left + (float)(group.text->width / 2), row_y}, ink.r,
                          ink.g, ink.b, ink.a);
            } else {
                draw_status_group(group.status_group, left, row_y);
            }
            left += group.width + gap;
        }
    }
    message.foot = first + height * (float)(rows - 1) + height / 2;
}

void draw_message_line(double now) {
    // Below the bottom row of the palette, in the free space above the window's foot.
    float y = game_layout.palette_centres[7].y + small_button_size.y;
    message.foot = 0;
    Group groups[group_capacity];
    int count = 0;
    if (const char* notice = notice_showing(now)) {
        if (set_part(message.notice, notice, pieces_a_part))
            add_part(message.notice, groups, count);
        draw_rows(groups, count, y);
        return;
    }
    if (!conflicts_shown()) return;
    // The change shown has rows of its own, first.
    char words[2 * text_max_length + 1];
    ShownChange shown;
    if (status_line_shown() && shown_change(&shown)) {
        describe_change(shown, words, sizeof(words));
        if (set_part(message.story, words, story_pieces)) {
            add_part(message.story, groups, count);
            groups[count - 1].row_end = true;
        }
    }
    describe_verdict(words, sizeof(words));
    // A verdict or a conflict is short, and reads best kept on one row.
    bool verdict = set_part(message.verdict, words, 1);
    uint8_t givens[board_cells];
    read_givens(givens);
    GivenConflicts conflicts;
    find_conflicts(givens, &conflicts);
    describe_conflict(conflicts, words, sizeof(words));
    bool conflict = set_part(message.conflict, words, 1);

    int status_groups = measure_status();
    for (int i = 0; i < status_groups; i++)
        groups[count++] = Group{nullptr, i, (float)status_group_width(i), false};
    if (verdict) add_part(message.verdict, groups, count);
    if (conflict) add_part(message.conflict, groups, count);
    draw_rows(groups, count, y);
}

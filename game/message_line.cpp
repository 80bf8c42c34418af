#include "game/message_line.h"

#include <cstdio>
#include <cstring>

#include "game/game_state.h"
#include "game/givens_check.h"
#include "game/layout.h"
#include "game/screen_colours.h"
#include "game/search_verdict.h"
#include "game/watch.h"
#include "game/watch_screen.h"
#include "text/text_object.h"

static constexpr double notice_seconds = 4;
// Between the parts of the line, as between the status's own parts.
static constexpr float part_gap = 14;

// A text laid out again only when its words change, never per frame.
struct LinePart {
    TextObject text;
    bool made;
};

struct MessageLine {
    LinePart notice, verdict, conflict;
    // Until when the notice shows; negative for a lasting one.
    double notice_until;
    bool notice_posted;
    char notice_words[text_max_length + 1];
};

static MessageLine message;

// Makes or changes the part's text; false when no text can be had.
static bool set_part(LinePart& part, const char* words) {
    if (!status_font_ready()) return false;
    if (!part.made) {
        part.made = create_text_object(&part.text, "status_font", words);
        return part.made;
    }
    if (strcmp(part.text.text, words) != 0) set_text(&part.text, words);
    return true;
}

void post_notice(const char* text, double now) {
    snprintf(message.notice_words, sizeof(message.notice_words), "%s", text);
    message.notice_posted = true;
    message.notice_until = now + notice_seconds;
}

void post_lasting_notice(const char* text) {
    post_notice(text, 0);
    message.notice_until = -1;
}

void take_back_notice() {
    message.notice_posted = false;
}

bool status_line_shown() {
    return watch_active();
}

static bool notice_showing(double now) {
    return message.notice_posted && (message.notice_until < 0 || now < message.notice_until);
}

static void draw_part(const LinePart& part, float& left, float y) {
    draw_text(&part.text, Vec2{left + (float)(part.text.width / 2), y}, ink.r, ink.g, ink.b, ink.a);
    left += (float)part.text.width + part_gap;
}

void draw_message_line(double now) {
    // Below the bottom row of the palette, in the free space above the window's foot.
    Vec2 under_palette = game_layout.palette_centres[7];
    float y = under_palette.y + small_button_size.y;
    if (notice_showing(now)) {
        if (!set_part(message.notice, message.notice_words)) return;
        float left = under_palette.x - (float)(message.notice.text.width / 2);
        draw_part(message.notice, left, y);
        return;
    }
    message.notice_posted = false;
    if (!status_line_shown()) return;
    char words[text_max_length + 1];
    describe_verdict(words, sizeof(words));
    bool verdict = words[0] && set_part(message.verdict, words);
    uint8_t givens[board_cells];
    read_givens(givens);
    GivenConflicts conflicts;
    find_conflicts(givens, &conflicts);
    describe_conflict(conflicts, words, sizeof(words));
    bool conflict = words[0] && set_part(message.conflict, words);

    int status = measure_status();
    float width = (float)status;
    const LinePart* parts[2] = {verdict ? &message.verdict : nullptr,
                                conflict ? &message.conflict : nullptr};
    for (const LinePart* part : parts) {
        if (!part) continue;
        if (width > 0) width += part_gap;
        width += (float)part->text.width;
    }
    float left = under_palette.x - (float)(int)(width / 2);
    if (status > 0) {
        draw_status(left, y);
        left += (float)status + part_gap;
    }
    if (verdict) draw_part(message.verdict, left, y);
    if (conflict) draw_part(message.conflict, left, y);
}

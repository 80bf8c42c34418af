// The change shown, told in the way of searching's own terms.
#include "game/screen/story_words.h"

#include <cstdarg>
#include <cstdio>

#include "game/board/rules.h"
#include "game/screen/watch_screen.h"

struct Words {
    char* out;
    int size, length;
};

static void say(Words& words, const char* format, ...) {
    if (words.length >= words.size - 1) return;
    va_list args;
    va_start(args, format);
    int added =
        vsnprintf(words.out + words.length, (size_t)(words.size - words.length), format, args);
    va_end(args);
    if (added > 0) words.length += added;
    if (words.length > words.size - 1) words.length = words.size - 1;
}

static void say_cell(Words& words, int cell) {
    say(words, "r%dc%d", row_of(cell) + 1, column_of(cell) + 1);
}

static void say_house(Words& words, int house) {
    static const char* const kinds[3] = {"row", "column", "box"};
    say(words, "%s %d", kinds[house / 9], house % 9 + 1);
}

// Each passed digit with the house that holds it, three to a part.
static void say_passed(Words& words, const ChangeStory& story) {
    for (int i = 0; i < story.passed_count; i++) {
        say(words, i % 3 == 0 ? status_gap_text : ", ");
        say(words, "%d in ", story.passed_digits[i]);
        say_house(words, story.passed_houses[i]);
    }
}

static void say_places(Words& words, const ChangeStory& story) {
    for (int i = 0; i < story.place_count; i++) {
        say(words, " ");
        say_cell(words, story.places[i]);
    }
}

static void say_placed(Words& words, const ChangeStory& story) {
    say_cell(words, story.cell);
    say(words, " = %d", story.after);
    switch (story.kind) {
    case StoryKind::only_candidate:
        say(words, ", its only candidate");
        return;
    case StoryKind::fewest_candidates: {
        int count = digit_count(story.candidates);
        say(words, "%sit has %d candidate%s, the fewest:", status_gap_text, count,
            count == 1 ? "" : "s");
        for (unsigned rest = story.candidates; rest; rest &= rest - 1)
            say(words, " %d", __builtin_ctz(rest));
        return;
    }
    default:
        say_passed(words, story);
    }
}

static void say_emptied(Words& words, const ChangeStory& story) {
    say_cell(words, story.cell);
    say(words, " emptied%s", status_gap_text);
    if (story.kind == StoryKind::dead_end) {
        say(words, "dead end: ");
        if (story.dead_cell >= 0) {
            say_cell(words, story.dead_cell);
            say(words, " has no candidate");
        } else {
            say(words, "no place for %d in ", story.dead_digit);
            say_house(words, story.dead_house);
        }
        return;
    }
    if (story.kind == StoryKind::taken_back) {
        say(words, "the step's singles taken back");
        return;
    }
    if (story.before == 9)
        say(words, "no digit after 9");
    else if (story.before == 8)
        say(words, "9 taken");
    else
        say(words, "%d to 9 all taken", story.before + 1);
    say_passed(words, story);
}

void describe_change(const ShownChange& shown, char* out, int size) {
    Words words = {out, size, 0};
    out[0] = 0;
    const ChangeStory& story = shown.story;
    switch (story.kind) {
    case StoryKind::none:
        return;
    case StoryKind::one_place:
        say(words, "%d in ", story.digit);
        say_house(words, story.house);
        say(words, " has one place: ");
        say_cell(words, story.cell);
        break;
    case StoryKind::fewest_places:
        say(words, "%d in ", story.digit);
        say_house(words, story.house);
        say(words, " has %d place%s, the fewest:", story.place_count,
            story.place_count == 1 ? "" : "s");
        say_places(words, story);
        break;
    case StoryKind::leaves_place:
        say(words, "%d leaves ", story.digit);
        say_cell(words, story.cell);
        say(words,
            story.places[story.place_count - 1] == story.cell ? "%sno place left in "
                                                              : "%sfor its next place in ",
            status_gap_text);
        say_house(words, story.house);
        break;
    default:
        if (story.after)
            say_placed(words, story);
        else
            say_emptied(words, story);
    }
    if (shown.first) say(words, "%sthe search's first change", status_gap_text);
    switch (shown.ending) {
    case Verdict::solved:
    case Verdict::solved_not_unique:
        say(words, "%sthe last change: solved", status_gap_text);
        break;
    case Verdict::no_solution:
        say(words, "%sthe last change: no solution", status_gap_text);
        break;
    case Verdict::stopped:
        say(words, "%sstopped here", status_gap_text);
        break;
    default:
        break;
    }
}

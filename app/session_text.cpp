#include "app/session_text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/puzzles/puzzle_maker.h"
#include "game/search/search_shared.h"
#include "game/search/strategies.h"

static const char heading[] = "tessarin session 1";

static void cells_to_text(const uint8_t cells[81], char out[82]) {
    for (int i = 0; i < 81; i++) out[i] = cells[i] ? (char)('0' + cells[i]) : '.';
    out[81] = 0;
}

// A path with a line end or another control character in it would not read
// back as it was written: such a file is not kept.
static bool one_line(const char* text) {
    for (const char* c = text; *c; c++)
        if ((unsigned char)*c < ' ') return false;
    return true;
}

int session_to_text(const Session& session, char* out, int capacity) {
    char pace[16] = "flat-out";
    if (session.pace < flat_out) snprintf(pace, sizeof(pace), "%u", pace_rates[session.pace]);
    int n = snprintf(out, (size_t)capacity, "%s\npace %s\nlength %s\nstrategy %s\n", heading, pace,
                     puzzle_lengths[session.length].name, strategy_keys[session.strategy]);
    if (session.window_known && n < capacity)
        n += snprintf(out + n, (size_t)(capacity - n), "window %d %d %d %d %.5f\nfull-screen %s\n",
                      session.x, session.y, session.width, session.height, (double)session.scale,
                      session.full_screen ? "yes" : "no");
    if (session.file[0] && one_line(session.file) && n < capacity) {
        char cells[82];
        cells_to_text(session.cells, cells);
        n += snprintf(out + n, (size_t)(capacity - n), "puzzle %u %s\nfile %s\n", session.puzzle,
                      cells, session.file);
    }
    return n < capacity ? n : capacity - 1;
}

// The index of `word` in a table of names, or -1.
static int find_word(const char* word, const char* const* names, int count) {
    for (int i = 0; i < count; i++)
        if (strcmp(word, names[i]) == 0) return i;
    return -1;
}

static bool read_pace(const char* value, uint8_t* out) {
    if (strcmp(value, "flat-out") == 0) {
        *out = flat_out;
        return true;
    }
    char* end = nullptr;
    unsigned long rate = strtoul(value, &end, 10);
    for (int level = 0; level < pace_levels && *end == 0; level++) {
        if (pace_rates[level] != rate) continue;
        *out = (uint8_t)level;
        return true;
    }
    return false;
}

static bool read_window(const char* value, Session* session) {
    int x, y, width, height, used = 0;
    float scale;
    if (sscanf(value, "%d %d %d %d %f%n", &x, &y, &width, &height, &scale, &used) != 5 ||
        value[used] != 0)
        return false;
    // A place far off any screen is brought back when the window opens.
    if (width < 1 || height < 1 || width > 100000 || height > 100000 || !(scale >= 0.25f) ||
        !(scale <= 4))
        return false;
    session->x = x;
    session->y = y;
    session->width = width;
    session->height = height;
    session->scale = scale;
    session->window_known = true;
    return true;
}

static bool read_puzzle(const char* value, Session* session) {
    char* end = nullptr;
    unsigned long index = strtoul(value, &end, 10);
    if (end == value || *end != ' ' || index > UINT32_MAX || strlen(end + 1) != 81) return false;
    for (int i = 0; i < 81; i++) {
        char c = end[1 + i];
        if (c != '.' && (c < '1' || c > '9')) return false;
        session->cells[i] = c == '.' ? 0 : (uint8_t)(c - '0');
    }
    session->puzzle = (uint32_t)index;
    return true;
}

// One line, "key value"; false for a key it does not know or a bad value.
static bool read_line(const char* line, Session* session, bool* puzzle_seen) {
    const char* space = strchr(line, ' ');
    if (!space) return false;
    size_t key_length = (size_t)(space - line);
    const char* value = space + 1;
    auto is = [&](const char* key) {
        return strlen(key) == key_length && strncmp(line, key, key_length) == 0;
    };
    const char* lengths[puzzle_length_count];
    for (int i = 0; i < puzzle_length_count; i++) lengths[i] = puzzle_lengths[i].name;
    if (is("pace")) return read_pace(value, &session->pace);
    if (is("length")) {
        int length = find_word(value, lengths, puzzle_length_count);
        session->length = (uint8_t)length;
        return length >= 0;
    }
    if (is("strategy")) {
        int strategy = find_word(value, strategy_keys, strategy_count);
        session->strategy = (uint8_t)strategy;
        return strategy >= 0;
    }
    if (is("window")) return read_window(value, session);
    if (is("full-screen")) {
        session->full_screen = strcmp(value, "yes") == 0;
        return session->full_screen || strcmp(value, "no") == 0;
    }
    if (is("puzzle")) return *puzzle_seen = read_puzzle(value, session);
    if (is("file")) {
        size_t length = strlen(value);
        if (length == 0 || length >= sizeof(session->file) || !one_line(value)) return false;
        memcpy(session->file, value, length + 1);
        return true;
    }
    return false;
}

bool session_from_text(const char* text, size_t length, Session* out) {
    Session session{};
    session.pace = flat_out;
    session.length = (uint8_t)PuzzleLength::medium;
    bool heading_seen = false, puzzle_seen = false;
    const char* end = text + length;
    for (const char* line = text; line < end;) {
        const char* stop = (const char*)memchr(line, '\n', (size_t)(end - line));
        if (!stop) stop = end;
        size_t size = (size_t)(stop - line);
        if (size > 0 && line[size - 1] == '\r') size--;
        char copy[session_text_capacity];
        if (size >= sizeof(copy) || memchr(line, 0, size)) return false;
        memcpy(copy, line, size);
        copy[size] = 0;
        line = stop + 1;
        if (!heading_seen) {
            if (strcmp(copy, heading) != 0) return false;
            heading_seen = true;
        } else if (size > 0 && !read_line(copy, &session, &puzzle_seen)) {
            return false;
        }
    }
    // A file without its puzzle, or a puzzle without its file, says nothing.
    if (!heading_seen || (session.file[0] != 0) != puzzle_seen) return false;
    *out = session;
    return true;
}

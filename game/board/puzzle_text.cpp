// Puzzles read from text (a paste, a line of a collection) and the board written as a line.
#include "game/board/puzzle_text.h"

#include <cstdio>
#include <cstring>

static bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The digit of a cell character, 0 for the empty marks, -1 for anything else.
static int cell_digit(char c) {
    if (c >= '1' && c <= '9') return c - '0';
    if (c == '.' || c == '0' || c == '_' || c == '*') return 0;
    return -1;
}

static PuzzleText refused(PuzzleText result, const char* format, int a, int b = 0) {
    result.is_puzzle = false;
    snprintf(result.reason, sizeof(result.reason), format, a, b);
    return result;
}

// The UTF-8 byte-order mark some editors put first.
static size_t after_byte_order_mark(const char* text, size_t length) {
    return length >= 3 && memcmp(text, "\xef\xbb\xbf", 3) == 0 ? 3 : 0;
}

PuzzleText read_puzzle_text(const char* text, size_t length) {
    if (length > puzzle_text_limit)
        return refused({}, "not a puzzle: over %d characters", (int)puzzle_text_limit);
    return read_puzzle_grid(text, length);
}

PuzzleText read_puzzle_grid(const char* text, size_t length) {
    PuzzleText result = {};
    size_t begin = after_byte_order_mark(text, length), end = length;
    while (begin < end && is_blank(text[begin])) begin++;
    while (end > begin && is_blank(text[end - 1])) end--;
    if (begin == end) return refused(result, "nothing to paste", 0);

    int cells = 0, cell_lines = 0, line = 1, line_cells = 0;
    int uneven_line = 0, uneven_cells = 0;
    char border_mark = 0;
    bool line_blank = true;
    // One past the end closes the last line.
    for (size_t i = begin; i <= end; i++) {
        char c = i < end ? text[i] : '\n';
        if (c == '\r' && i + 1 < end && text[i + 1] == '\n') continue;
        // A comment line, as puzzle files have them.
        if (c == '#' && line_blank) {
            while (i + 1 < end && text[i + 1] != '\n') i++;
            continue;
        }
        if (c != ' ' && c != '\t') line_blank = false;
        if (c == '\n') {
            line_blank = true;
            if (line_cells > 0) {
                // Border marks draw lines of their own, never among cells.
                if (border_mark)
                    return refused(result, "not a puzzle: '%c' in line %d", border_mark, line);
                cell_lines++;
                if (line_cells != 9 && !uneven_line) {
                    uneven_line = line;
                    uneven_cells = line_cells;
                }
            }
            line++;
            line_cells = 0;
            border_mark = 0;
            continue;
        }
        int digit = cell_digit(c);
        if (digit >= 0) {
            if (cells < board_cells) result.cells[cells] = (uint8_t)digit;
            cells++;
            line_cells++;
        } else if (c == '-' || c == '+') {
            border_mark = c;
        } else if (c != ' ' && c != '\t' && c != '|') {
            if (c > ' ' && c <= '~')
                return refused(result, "not a puzzle: '%c' in line %d", c, line);
            return refused(result, "not a puzzle: unexpected character in line %d", line);
        }
    }
    if (cells != board_cells)
        return refused(result, "not a puzzle: %d cells, %d needed", cells, board_cells);
    if (cell_lines == 9 && uneven_line)
        return refused(result, "not a puzzle: line %d has %d cells, 9 needed", uneven_line,
                       uneven_cells);
    if (cell_lines != 1 && cell_lines != 9)
        return refused(result, "not a puzzle: cells on %d lines, 1 or 9 needed", cell_lines);
    result.is_puzzle = true;
    return result;
}

// One line of a collection: 81 cells at its start, then its end, or a space
// or tab and any text (a rating, a name).
static bool read_cell_line(const char* line, size_t length, uint8_t cells[board_cells]) {
    if (length < (size_t)board_cells) return false;
    for (int i = 0; i < board_cells; i++) {
        int digit = cell_digit(line[i]);
        if (digit < 0) return false;
        cells[i] = (uint8_t)digit;
    }
    return length == (size_t)board_cells || line[board_cells] == ' ' || line[board_cells] == '\t';
}

// The text after a puzzle line's cells, without the blank space around it.
static void add_name(const char* line, size_t length, PuzzleLabels* labels, uint32_t puzzle,
                     size_t* names_used) {
    size_t begin = board_cells, end = length;
    while (begin < end && (line[begin] == ' ' || line[begin] == '\t')) begin++;
    while (end > begin && (line[end - 1] == ' ' || line[end - 1] == '\t')) end--;
    labels->name_at[puzzle] = (uint32_t)*names_used;
    memcpy(labels->names + *names_used, line + begin, end - begin);
    *names_used += end - begin;
    labels->names[(*names_used)++] = 0;
}

PuzzleLines read_puzzle_lines(const char* text, size_t length, uint8_t* out, PuzzleLabels* labels) {
    PuzzleLines found = {};
    size_t at = after_byte_order_mark(text, length), names_used = 0;
    for (uint32_t line = 1; at < length; line++) {
        size_t end = at;
        while (end < length && text[end] != '\n') end++;
        size_t next = end + 1;
        if (end > at && text[end - 1] == '\r') end--;
        while (at < end && (text[at] == ' ' || text[at] == '\t')) at++;
        uint8_t cells[board_cells];
        if (at == end || text[at] == '#') {
            // Blank and comment lines are no puzzle and no fault.
        } else if (read_cell_line(text + at, end - at, cells)) {
            if (out) memcpy(out + (size_t)board_cells * found.puzzles, cells, board_cells);
            if (labels) {
                labels->lines[found.puzzles] = line;
                add_name(text + at, end - at, labels, found.puzzles, &names_used);
            }
            found.puzzles++;
        } else {
            if (found.skipped < skipped_lines_named) found.skipped_lines[found.skipped] = line;
            found.skipped++;
        }
        at = next;
    }
    return found;
}

void board_to_line(char line[board_cells + 1]) {
    bool searching = game_state.solver_running.load(std::memory_order_acquire);
    for (int i = 0; i < board_cells; i++) {
        int32_t value = searching && !game_state.board.given[i] ? 0 : cell_value(i);
        line[i] = value ? (char)('0' + value) : '.';
    }
    line[board_cells] = 0;
}

#include "app/clipboard.h"

#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstring>

#include "app/app.h"
#include "app/frame_clock.h"
#include "app/frame_statistics.h"
#include "game/board/game_state.h"
#include "game/board/givens_check.h"
#include "game/board/givens_history.h"
#include "game/board/puzzle_text.h"
#include "game/screen/line_words.h"
#include "game/watch/watch.h"

// A pasted puzzle goes on the board whatever it holds; the title says what
// is wrong with it, as it says why a paste fails.
static void say_what_came_in(const uint8_t cells[board_cells]) {
    GivenConflicts conflicts;
    GivensVerdict verdict = judge_givens(cells, &conflicts);
    if (verdict == GivensVerdict::one_solution) return;
    char words[96] = "pasted, but ";
    size_t start = strlen(words);
    describe_givens(verdict, conflicts, words + start, (int)(sizeof(words) - start));
    show_title_notice(words, clock_seconds());
}

void paste_puzzle() {
    // The search owns the board, as it does against clicks.
    if (game_state.solver_running.load(std::memory_order_acquire)) {
        show_title_notice("not pasted: a search is running", clock_seconds());
        return;
    }
    // GLFW gives no text for an empty clipboard or one that holds no text.
    const char* text = glfwGetClipboardString(main_window);
    if (!text) text = "";
    PuzzleText puzzle = read_puzzle_text(text, strnlen(text, puzzle_text_limit + 1));
    // A paste that fails changes nothing, a replay on screen included.
    if (!puzzle.is_puzzle) {
        show_title_notice(puzzle.reason, clock_seconds());
        return;
    }
    begin_board_edit();
    set_givens_from(puzzle.cells);
    note_givens_change();
    say_what_came_in(puzzle.cells);
}

void copy_board() {
    char line[board_cells + 1];
    board_to_line(line);
    glfwSetClipboardString(main_window, line);
    show_title_notice("board copied", clock_seconds());
}

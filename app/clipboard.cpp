#include "app/clipboard.h"

#include <GLFW/glfw3.h>

#include <cstring>

#include "app/app.h"
#include "app/frame_clock.h"
#include "app/frame_statistics.h"
#include "game/game_state.h"
#include "game/givens_history.h"
#include "game/puzzle_text.h"
#include "game/watch.h"

void paste_puzzle() {
    // The search owns the board, as it does against clicks.
    if (game_state.solver_running.load(std::memory_order_acquire)) return;
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
}

void copy_board() {
    char line[board_cells + 1];
    board_to_line(line);
    glfwSetClipboardString(main_window, line);
    show_title_notice("board copied", clock_seconds());
}

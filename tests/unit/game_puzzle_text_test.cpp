#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/puzzle_text.h"

namespace {

PuzzleText read(const std::string& text) {
    return read_puzzle_text(text.data(), text.size());
}

std::string cells_of(const PuzzleText& puzzle) {
    std::string line;
    for (uint8_t digit : puzzle.cells) line += digit ? (char)('0' + digit) : '.';
    return line;
}

std::string joined(const std::vector<std::string>& rows, const char* line_end) {
    std::string text;
    for (const std::string& row : rows) text += row + line_end;
    return text;
}

TEST(PuzzleText, TakesTheThreeFormsAndNothingLooser) {
    const std::string line =
        "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
    std::vector<std::string> rows, grid;
    for (int row = 0; row < 9; row++) {
        std::string cells = line.substr(9 * row, 9);
        rows.push_back(cells);
        if (row % 3 == 0) grid.push_back("+-------+-------+-------+");
        grid.push_back("| " + cells.substr(0, 3) + " | " + cells.substr(3, 3) + " | " +
                       cells.substr(6) + " |");
    }
    grid.push_back("+-------+-------+-------+");
    std::string empties;
    for (char c : line) empties += c == '.' ? "0_*"[empties.size() % 3] : c;
    for (const std::string& text : {line, line + "\r\n", "\n\t " + joined(rows, "\r\n") + " \n",
                                    joined(grid, "\n"), empties}) {
        PuzzleText puzzle = read(text);
        EXPECT_TRUE(puzzle.is_puzzle) << text << puzzle.reason;
        EXPECT_EQ(cells_of(puzzle), line) << text;
    }

    std::vector<std::string> accented = rows, uneven = rows;
    accented[1][3] = '\xc3';
    uneven[1] += uneven[2][0];
    uneven[2].erase(0, 1);
    const std::pair<std::string, const char*> refused[] = {
        {line.substr(1), "not a puzzle: 80 cells, 81 needed"},
        {line + "1", "not a puzzle: 82 cells, 81 needed"},
        {line + "\n" + line, "not a puzzle: 162 cells, 81 needed"},
        {"5x" + line.substr(2), "not a puzzle: 'x' in line 1"},
        {joined(accented, "\n"), "not a puzzle: unexpected character in line 2"},
        {line.substr(0, 40) + "\r" + line.substr(40),
         "not a puzzle: unexpected character in line 1"},
        {line.substr(0, 40) + "-" + line.substr(41), "not a puzzle: '-' in line 1"},
        {line.substr(0, 27) + "\n" + line.substr(27),
         "not a puzzle: cells on 2 lines, 1 or 9 needed"},
        {joined(uneven, "\n"), "not a puzzle: line 2 has 10 cells, 9 needed"},
        {" \r\n\t", "nothing to paste"},
        {"", "nothing to paste"},
        {std::string(puzzle_text_limit - 80, ' ') + line, "not a puzzle: over 4096 characters"},
    };
    for (const auto& [text, reason] : refused) {
        PuzzleText puzzle = read(text);
        EXPECT_FALSE(puzzle.is_puzzle) << text;
        EXPECT_STREQ(puzzle.reason, reason) << text;
    }
    // Only the given length is read: the puzzle ends where the text does.
    EXPECT_TRUE(read_puzzle_text((line + "1").data(), 81).is_puzzle);
}

} // namespace

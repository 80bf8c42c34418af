#include <gtest/gtest.h>

#include <string>

#include "game/board/puzzle_text.h"
#include "game/puzzles/puzzle_collection.h"

namespace {

PuzzleText read(const std::string& text) {
    return read_puzzle_text(text.data(), text.size());
}

TEST(PuzzleText, TakesTheThreeFormsAndNothingLooser) {
    const std::string line =
        "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
    std::string nine_lines, grid, empties, uneven = line;
    for (int row = 0; row < 9; row++) {
        std::string cells = line.substr(9 * row, 9);
        nine_lines += cells + "\r\n";
        if (row % 3 == 0) grid += "+-------+-------+-------+\n";
        grid += "| " + cells.substr(0, 3) + " | " + cells.substr(3, 3) + " | " + cells.substr(6) +
                " |\n";
        // Nine lines, the second taking the first cell of the third.
        uneven.insert(9 * row + row + (row == 2), "\n");
    }
    for (char c : line) empties += c == '.' ? "0_*"[empties.size() % 3] : c;
    for (const std::string& text : {line, "\n\t " + nine_lines + " ", grid + "+--", empties}) {
        PuzzleText puzzle = read(text);
        ASSERT_TRUE(puzzle.is_puzzle) << text << puzzle.reason;
        for (int i = 0; i < board_cells; i++)
            EXPECT_EQ(puzzle.cells[i], line[i] == '.' ? 0 : line[i] - '0') << text;
    }

    const std::pair<std::string, const char*> refused[] = {
        {line.substr(1), "not a puzzle: 80 cells, 81 needed"},
        {line + "1", "not a puzzle: 82 cells, 81 needed"},
        {line + "\n" + line, "not a puzzle: 162 cells, 81 needed"},
        {"5x" + line, "not a puzzle: 'x' in line 1"},
        {nine_lines + "\xc3\xa9", "not a puzzle: unexpected character in line 10"},
        {"5\r3" + line, "not a puzzle: unexpected character in line 1"},
        {"5-3" + line, "not a puzzle: '-' in line 1"},
        {line.substr(0, 27) + "\n" + line.substr(27),
         "not a puzzle: cells on 2 lines, 1 or 9 needed"},
        {uneven, "not a puzzle: line 2 has 10 cells, 9 needed"},
        {" \r\n\t", "nothing to paste"},
        {std::string(puzzle_text_limit - 80, ' ') + line, "not a puzzle: over 4096 characters"},
    };
    for (const auto& [text, reason] : refused) EXPECT_STREQ(read(text).reason, reason) << text;
    // Only the given length is read: the puzzle ends where the text does.
    EXPECT_TRUE(read_puzzle_text((line + "1").data(), 81).is_puzzle);
}

// Files: one puzzle with comments and a byte-order mark, or a collection of
// one a line with names after the cells, blank and bad lines, CRLF.
TEST(PuzzleText, ReadsPuzzleFilesAndCollections) {
    const std::string a =
        "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
    const std::string b(81, '.');
    std::string sdk = "\xef\xbb\xbf# from a magazine\r\n";
    for (int row = 0; row < 9; row++) sdk += a.substr(9 * row, 9) + "\r\n# row\r\n";
    const std::string collection = "# two and a bad one\r\n" + a + " rated 3.4\r\n\r\n" +
                                   a.substr(1) + "x\n  " + b + "\tempty\n" + a + "1\n";
    auto read = [](const std::string& text, PuzzleCollection* out, std::string* why) {
        char reason[64] = "";
        bool ok = read_puzzles(text.data(), text.size(), out, reason, sizeof(reason));
        *why = reason;
        return ok;
    };
    PuzzleCollection puzzles;
    std::string why;
    ASSERT_TRUE(read(sdk, &puzzles, &why)) << why;
    ASSERT_EQ(puzzles.count, 1u);
    EXPECT_EQ(puzzles.cells[1], 3);
    EXPECT_EQ(puzzles.cells[80], 9);
    free_puzzles(&puzzles);

    ASSERT_TRUE(read(collection, &puzzles, &why)) << why;
    ASSERT_EQ(puzzles.count, 2u);
    EXPECT_EQ(puzzles.skipped, 2u) << "a line with a wrong cell, one with 82 cells";
    EXPECT_EQ(puzzles.cells[0], 5);
    for (int i = 0; i < board_cells; i++) EXPECT_EQ(puzzles.cells[board_cells + i], 0);
    free_puzzles(&puzzles);

    const std::pair<std::string, const char*> refused[] = {
        {"", "is empty"},
        {std::string("53\0\x01", 4) + a, "is not a text file"},
        {"# nothing but comments\n\n", "holds no puzzle: 0 cells, 81 needed"},
        {std::string(5000, 'x'), "holds no puzzle"},
    };
    for (const auto& [text, reason] : refused) {
        EXPECT_FALSE(read(text, &puzzles, &why));
        EXPECT_EQ(why, reason);
        EXPECT_EQ(puzzles.count, 0u);
    }
}

} // namespace

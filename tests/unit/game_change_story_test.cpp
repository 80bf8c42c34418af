// Each way's story of a change and its words, on boards worked out by hand:
// the digits passed over and who holds them, the choices, the dead ends.
#include <gtest/gtest.h>

#include <string>

#include "game/screen/story_words.h"

namespace {

// Cells as "r1c1" and the like; the board as 81 characters, '.' empty.
int cell(int row, int column) {
    return 9 * (row - 1) + column - 1;
}

struct Told {
    ChangeStory story;
    std::string words;
};

Told tell(const char* board, int at, int before, int after, Strategy strategy, bool first = false,
          Verdict ending = Verdict::none) {
    uint8_t cells[81];
    for (int i = 0; i < 81; i++) cells[i] = board[i] == '.' ? 0 : (uint8_t)(board[i] - '0');
    cells[at] = (uint8_t)before;
    ShownChange shown = {1, 1, {}, first, ending};
    tell_change(cells, make_change(at, before, after), strategy, &shown.story);
    char words[256];
    describe_change(shown, words, sizeof(words));
    return Told{shown.story, words};
}

std::string peers(const ChangeStory& story) {
    std::string out;
    for (int i = 0; i < story.passed_count; i++)
        out += std::to_string(story.passed_digits[i]) + "@" +
               std::to_string(story.passed_peers[i]) + " ";
    return out;
}

// 1 beside r1c1 in its row, 2 below it, 3 in its row and its box (the row
// names it), 8 in its column, 9 in its box.
const char* const passing = "........3"
                            "2........"
                            ".3......."
                            "........."
                            "8........"
                            "........."
                            "........."
                            "........."
                            ".........";

TEST(ChangeStory, EachWaySaysWhyWithThePeersItNames) {
    std::string board = passing;
    board[1] = '1';
    board[20] = '9';
    // In order: 4 after 1, 2 and 3, each with the first peer that holds it.
    Told told = tell(board.c_str(), cell(1, 1), 0, 4, Strategy::in_order, true);
    EXPECT_EQ(told.story.kind, StoryKind::placed);
    EXPECT_EQ(peers(told.story), "1@1 2@9 3@8 ");
    EXPECT_EQ(told.words, "r1c1 = 4   1 in row 1, 2 in column 1, 3 in row 1   "
                          "the search's first change");
    // Emptied from 7: 8 and 9 taken, in its column and its box.
    told = tell(board.c_str(), cell(1, 1), 7, 0, Strategy::in_order);
    EXPECT_EQ(told.story.kind, StoryKind::all_taken);
    EXPECT_EQ(peers(told.story), "8@36 9@20 ");
    EXPECT_EQ(told.words, "r1c1 emptied   8 to 9 all taken   8 in column 1, 9 in box 1");
    // From 5 to 6 in any way: nothing passed over.
    told = tell(board.c_str(), cell(1, 1), 5, 6, Strategy::fewest);
    EXPECT_EQ(told.words, "r1c1 = 6");

    // Fewest: r1c1 and r1c9 both have 8 and 9; the first is taken.
    const std::string row = ".1234567." + std::string(72, '.');
    told = tell(row.c_str(), cell(1, 1), 0, 8, Strategy::fewest);
    EXPECT_EQ(told.story.kind, StoryKind::fewest_candidates);
    EXPECT_EQ(told.story.passed_count, 7);
    EXPECT_EQ(told.words, "r1c1 = 8   it has 2 candidates, the fewest: 8 9");
    // Singles first: with 8 in r1c9, r1c1 has 9 alone.
    std::string single = ".12345678" + std::string(72, '.');
    told = tell(single.c_str(), cell(1, 1), 0, 9, Strategy::singles, false, Verdict::solved);
    EXPECT_EQ(told.story.kind, StoryKind::only_candidate);
    EXPECT_EQ(told.words, "r1c1 = 9, its only candidate   the last change: solved");
}

// 1 kept out of box 1 but for r3c3: by rows 1 and 2, columns 1 and 2.
const char* const hidden = "....1...."
                           ".......1."
                           "........."
                           "1........"
                           "........."
                           "........."
                           ".1......."
                           "........."
                           ".........";

// r1c1 and r1c9 can hold only 9; r1c8 holds 7, 8 or 9.
const char* const dead = ".123456.."
                         "7........"
                         "8........"
                         "........7"
                         "........8"
                         "........."
                         "........."
                         "........."
                         ".........";

// 8 and 9 each have one place in row 1: r1c1.
const char* const dead_house = "...1234.."
                               "....9..8."
                               "........9"
                               "........."
                               ".89......"
                               "........."
                               "........."
                               ".98......"
                               ".........";

TEST(ChangeStory, SinglesAndCoverNameTheirHousesAndDeadEnds) {
    Told told = tell(hidden, cell(3, 3), 0, 1, Strategy::singles);
    EXPECT_EQ(told.story.kind, StoryKind::one_place);
    EXPECT_EQ(told.story.house, 2);
    EXPECT_EQ(told.words, "1 in row 3 has one place: r3c3");
    // Taken back with no dead end on the board: a later step's.
    told = tell(hidden, cell(3, 3), 1, 0, Strategy::singles);
    EXPECT_EQ(told.words, "r3c3 emptied   the step's singles taken back");
    // 9 in r1c1 leaves r1c9 with nothing.
    told = tell(dead, cell(1, 1), 9, 0, Strategy::singles);
    EXPECT_EQ(told.story.dead_cell, cell(1, 9));
    EXPECT_EQ(told.words, "r1c1 emptied   dead end: r1c9 has no candidate");
    // No cell without a candidate, but 8 in r1c1 leaves 9 no place in row 1.
    told = tell(dead_house, cell(1, 1), 8, 0, Strategy::singles);
    EXPECT_EQ(told.words, "r1c1 emptied   dead end: no place for 9 in row 1");
    // Fewest places: 1 has one place in row 3 and every cell has more.
    told = tell(hidden, cell(3, 3), 0, 1, Strategy::cover);
    EXPECT_EQ(told.story.kind, StoryKind::fewest_places);
    EXPECT_EQ(told.words, "1 in row 3 has 1 place, the fewest: r3c3");
    told = tell(hidden, cell(3, 3), 1, 0, Strategy::cover);
    EXPECT_EQ(told.words, "1 leaves r3c3   no place left in row 3");
    // A cell's choice in cover is told as fewest.
    told = tell((".1234567." + std::string(72, '.')).c_str(), cell(1, 1), 0, 8, Strategy::cover);
    EXPECT_EQ(told.story.kind, StoryKind::fewest_candidates);
}

} // namespace

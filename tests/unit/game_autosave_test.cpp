#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>
#include <vector>

#include "common/files.h"
#include "common/save_folder.h"
#include "game/board/autosave.h"
#include "game/board/game_state.h"
#include "tests/unit/game_test_boards.h"

namespace {

// Each test works in a fresh empty folder, so "autosave" is its own.
class AutosaveFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(getcwd(previous_folder, sizeof(previous_folder)));
        char pattern[] = "/tmp/tessarin_autosave_XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        folder = pattern;
        ASSERT_EQ(chdir(folder.c_str()), 0);
        // A failed save goes on to the user's data folder: a private one.
        setenv("XDG_DATA_HOME", (folder + "/data").c_str(), 1);
        reset_game_state();
    }
    void TearDown() override {
        save_folder = SaveFolder{};
        unsetenv("XDG_DATA_HOME");
        ASSERT_EQ(chdir(previous_folder), 0);
        std::string command = "rm -rf '" + folder + "'";
        ASSERT_EQ(system(command.c_str()), 0);
    }
    char previous_folder[1024];
    std::string folder;
};

void write_bytes(const char* path, const std::vector<uint8_t>& bytes) {
    FILE* file = fopen(path, "wb");
    ASSERT_TRUE(file);
    // An empty vector's data() may be null, which fwrite must not get.
    if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

std::vector<uint8_t> read_bytes(const char* path) {
    int32_t length = 0;
    char* data = read_whole_file(path, &length);
    if (!data) return {};
    std::vector<uint8_t> bytes(data, data + length);
    free(data);
    return bytes;
}

bool file_exists(const char* path) {
    struct stat status;
    return stat(path, &status) == 0;
}

// This process's temporary file for a path.
std::string temporary_of(const std::string& path) {
    return path + "." + std::to_string(getpid()) + ".tmp";
}

// Givens 5 at cell 0 and 9 at cell 80, a solver digit in every other cell.
void fill_with_solver_digits() {
    reset_game_state();
    for (int i = 0; i < board_cells; i++) set_cell_value(i, 1 + i % 9);
    set_cell_value(0, 5);
    game_state.board.given[0] = 1;
    set_cell_value(80, 9);
    game_state.board.given[80] = 1;
}

std::vector<uint8_t> expected_image() {
    std::vector<uint8_t> image(autosave_size, 0);
    image[0] = 1;
    image[1] = 5;
    image[81] = 9;
    return image;
}

bool board_is_empty() {
    for (int i = 0; i <= board_cells; i++) {
        if (cell_value(i) != 0) return false;
    }
    for (int i = 0; i < board_cells; i++) {
        if (game_state.board.given[i] != 0) return false;
    }
    return true;
}

TEST_F(AutosaveFiles, ImageHoldsTheMarkerAndOnlyTheGivens) {
    fill_with_solver_digits();
    uint8_t image[autosave_size];
    board_to_autosave(image);
    EXPECT_EQ(std::vector<uint8_t>(image, image + autosave_size), expected_image());

    reset_game_state();
    board_to_autosave(image);
    std::vector<uint8_t> empty(autosave_size, 0);
    empty[0] = 1;
    EXPECT_EQ(std::vector<uint8_t>(image, image + autosave_size), empty);
}

TEST_F(AutosaveFiles, RoundTripKeepsGivensAndDropsSolverDigits) {
    fill_with_solver_digits();
    ASSERT_TRUE(save_board());
    EXPECT_EQ(read_bytes("autosave"), expected_image());
    EXPECT_FALSE(file_exists(temporary_of("autosave").c_str()));

    // A new start: values cleared, then the file applied.
    clear_all();
    load_board();
    for (int i = 1; i < 80; i++) {
        EXPECT_EQ(cell_value(i), 0) << i;
        EXPECT_EQ(game_state.board.given[i], 0) << i;
    }
    EXPECT_EQ(cell_value(0), 5);
    EXPECT_EQ(game_state.board.given[0], 1);
    EXPECT_EQ(cell_value(80), 9);
    EXPECT_EQ(game_state.board.given[80], 1);
    EXPECT_EQ(cell_value(81), 0);
}

TEST_F(AutosaveFiles, BadFilesLeaveTheBoardEmpty) {
    std::vector<uint8_t> foreign = expected_image();
    foreign[0] = 2;
    std::vector<uint8_t> short_file = expected_image();
    short_file.pop_back();
    std::vector<uint8_t> digit_too_big = expected_image();
    digit_too_big[40] = 10;
    std::vector<uint8_t> last_too_big = expected_image();
    last_too_big[81] = 255;
    const std::vector<uint8_t> bad_files[] = {foreign, short_file, digit_too_big, last_too_big, {}};
    for (const std::vector<uint8_t>& bytes : bad_files) {
        write_bytes("autosave", bytes);
        reset_game_state();
        load_board();
        EXPECT_TRUE(board_is_empty()) << "file of " << bytes.size() << " bytes";
    }

    remove("autosave");
    load_board();
    EXPECT_TRUE(board_is_empty());

    // A short buffer is refused before any byte past its end is read.
    const uint8_t marker_only[1] = {1};
    EXPECT_FALSE(autosave_to_board(marker_only, 1));
    EXPECT_TRUE(board_is_empty());
}

TEST_F(AutosaveFiles, BytesAfterTheImageAreIgnored) {
    std::vector<uint8_t> bytes = expected_image();
    bytes.push_back(7);
    bytes.push_back(200);
    write_bytes("autosave", bytes);
    load_board();
    EXPECT_EQ(cell_value(0), 5);
    EXPECT_EQ(cell_value(80), 9);
    EXPECT_EQ(cell_value(81), 0);
    EXPECT_EQ(game_state.board.given[0] + game_state.board.given[80], 2);
}

TEST_F(AutosaveFiles, FailedSaveKeepsTheOldFile) {
    std::vector<uint8_t> old_bytes = expected_image();
    old_bytes[41] = 3;
    write_bytes("autosave", old_bytes);
    fill_with_solver_digits();

    // The temporary file cannot be made here, and the user's data folder
    // cannot be made: nothing is written.
    write_bytes("data", {});
    const std::string temporary = temporary_of("autosave");
    ASSERT_EQ(mkdir(temporary.c_str(), 0777), 0);
    EXPECT_FALSE(save_board());
    EXPECT_EQ(read_bytes("autosave"), old_bytes);
    ASSERT_EQ(rmdir(temporary.c_str()), 0);

    // The rename over the target fails: the temporary file is removed again.
    remove("autosave");
    ASSERT_EQ(mkdir("autosave", 0777), 0);
    EXPECT_FALSE(save_board());
    EXPECT_FALSE(file_exists(temporary.c_str()));
    struct stat status;
    ASSERT_EQ(stat("autosave", &status), 0);
    EXPECT_TRUE(S_ISDIR(status.st_mode));
}

void set_mtime(const char* path, time_t when) {
    struct utimbuf times = {when, when};
    ASSERT_EQ(utime(path, &times), 0);
}

// The executable's folder and the user's both hold a save: the newer is read,
// whichever folder the saves go to now.
TEST_F(AutosaveFiles, NewerSaveIsRead) {
    std::vector<uint8_t> old_bytes = expected_image();
    old_bytes[41] = 3;
    write_bytes("autosave", old_bytes);
    set_mtime("autosave", 2000000000);
    ASSERT_EQ(system("mkdir -p data/tessarin"), 0);
    write_bytes("data/tessarin/autosave", expected_image());
    const std::string user = folder + "/data/tessarin/";
    snprintf(save_folder.user_prefix, sizeof(save_folder.user_prefix), "%s", user.c_str());
    for (const char* prefix : {"", user.c_str()}) {
        snprintf(save_folder.prefix, sizeof(save_folder.prefix), "%s", prefix);
        for (time_t user_time : {1900000000, 2100000000}) {
            set_mtime("data/tessarin/autosave", user_time);
            reset_game_state();
            load_board();
            EXPECT_EQ(cell_value(40), user_time < 2000000000 ? 3 : 0) << prefix;
        }
    }
}

} // namespace

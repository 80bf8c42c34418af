// Safe whole-file writes shared by two processes, and the user's data folder.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "common/files.h"
#include "platform/platform.h"

// The C library's fsync and unlink, failing while a test sets an error: as
// a file system that cannot sync a file, or a scanner holding a fresh file.
static int fsync_error, unlink_error;
extern "C" int fsync(int descriptor) {
    if (!fsync_error) return (int)syscall(SYS_fsync, descriptor);
    errno = fsync_error;
    return -1;
}
extern "C" int unlink(const char* path) {
    if (!unlink_error) return unlinkat(AT_FDCWD, path, 0);
    errno = unlink_error;
    return -1;
}

namespace {

struct ScratchFolder : ::testing::Test {
    std::string folder;
    void SetUp() override {
        char pattern[] = "/tmp/tessarin-files-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        folder = pattern;
    }
    void TearDown() override {
        std::string command = "rm -rf '" + folder + "'";
        ASSERT_EQ(system(command.c_str()), 0);
    }
};

// Saves its own bytes over and over; false once it reads back a file that is
// not one whole save of either process.
bool save_and_check(const std::string& path, char own, int rounds) {
    const int32_t size = 256 * 1024;
    std::vector<char> bytes(size, own);
    for (int i = 0; i < rounds; i++) {
        if (!write_file_replacing(path.c_str(), bytes.data(), size)) return false;
        int32_t length = 0;
        char* read = read_whole_file(path.c_str(), &length);
        bool whole = read && length == size && (read[0] == 'a' || read[0] == 'b');
        for (int32_t k = 0; whole && k < size; k++) whole = read[k] == read[0];
        free(read);
        if (!whole) return false;
    }
    return true;
}

} // namespace

// Two copies of the program saving into one folder at once: each file that
// appears is one process's whole save, never a mix.
TEST_F(ScratchFolder, TwoProcessesSavingAtOnceNeverMix) {
    std::string path = folder + "/autosave";
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(save_and_check(path, 'b', 60) ? 0 : 1);
    bool parent_saw_whole_files = save_and_check(path, 'a', 60);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(parent_saw_whole_files);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // Only the published file is left.
    std::string command = "test \"$(ls -A '" + folder + "')\" = autosave";
    EXPECT_EQ(system(command.c_str()), 0);
}

TEST_F(ScratchFolder, UserDataFolderFollowsTheXdgRules) {
    const char* home_before = getenv("HOME");
    const char* data_home_before = getenv("XDG_DATA_HOME");
    std::string saved_home = home_before ? home_before : "";
    std::string saved_data_home = data_home_before ? data_home_before : "";
    std::string home = folder + "/home", data_home = folder + "/data";
    ASSERT_EQ(mkdir(home.c_str(), 0700), 0);
    char out[256];

    // XDG_DATA_HOME first; every missing folder made, the last one private.
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_DATA_HOME", data_home.c_str(), 1);
    ASSERT_TRUE(platform_user_data_folder(out, sizeof(out), true));
    EXPECT_EQ(std::string(out), data_home + "/tessarin/");
    struct stat status;
    ASSERT_EQ(stat(out, &status), 0);
    EXPECT_TRUE(S_ISDIR(status.st_mode));
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    EXPECT_TRUE(platform_folder_writable(out));

    // A relative XDG_DATA_HOME does not count: ~/.local/share, made as needed.
    setenv("XDG_DATA_HOME", "relative/data", 1);
    ASSERT_TRUE(platform_user_data_folder(out, sizeof(out), true));
    EXPECT_EQ(std::string(out), home + "/.local/share/tessarin/");
    EXPECT_EQ(stat(out, &status), 0);

    // No folder when it cannot be made, when there is no home, or when the path does not fit.
    setenv("HOME", (folder + "/file").c_str(), 1);
    unsetenv("XDG_DATA_HOME");
    FILE* file = fopen((folder + "/file").c_str(), "w");
    ASSERT_TRUE(file);
    fclose(file);
    EXPECT_FALSE(platform_user_data_folder(out, sizeof(out), true));
    unsetenv("HOME");
    EXPECT_FALSE(platform_user_data_folder(out, sizeof(out), true));
    setenv("HOME", home.c_str(), 1);
    EXPECT_FALSE(platform_user_data_folder(out, (int)home.size() + 5, true));

    if (home_before) setenv("HOME", saved_home.c_str(), 1);
    if (data_home_before) setenv("XDG_DATA_HOME", saved_data_home.c_str(), 1);
}

TEST_F(ScratchFolder, SyncThatCannotBeDoneStillPublishes) {
    std::string path = folder + "/autosave";
    ASSERT_TRUE(write_file_replacing(path.c_str(), "old", 3));
    fsync_error = EINVAL;
    EXPECT_TRUE(write_file_replacing(path.c_str(), "new", 3));
    // A real write error keeps the old file, and no temporary one.
    fsync_error = EIO;
    EXPECT_FALSE(write_file_replacing(path.c_str(), "bad", 3));
    fsync_error = 0;
    char* read = read_whole_file(path.c_str(), nullptr);
    EXPECT_STREQ(read, "new");
    free(read);
    std::string command = "test \"$(ls -A '" + folder + "')\" = autosave";
    EXPECT_EQ(system(command.c_str()), 0);
}

// A pipe has no size to read ahead: it is read to its end in a growing buffer.
TEST(WholeStream, ReadsAPipeToItsEnd) {
    FILE* pipe = popen("head -c 200000 /dev/zero | tr '\\0' x", "r");
    ASSERT_TRUE(pipe);
    size_t length = 0;
    ReadFailure failure = ReadFailure::unreadable;
    char* read = read_whole_stream(pipe, &length, &failure);
    pclose(pipe);
    ASSERT_TRUE(read);
    EXPECT_EQ(failure, ReadFailure::none);
    EXPECT_EQ(length, 200000u);
    EXPECT_EQ(std::string(read, length), std::string(200000, 'x'));
    EXPECT_EQ(read[length], 0);
    free(read);
}

TEST_F(ScratchFolder, ProbeThatCannotBeRemovedStillCountsAsWritable) {
    unlink_error = EBUSY;
    EXPECT_TRUE(platform_folder_writable((folder + "/").c_str()));
    unlink_error = 0;
    std::string command = "test -e '" + folder + "/.write-probe." + std::to_string(getpid()) + "'";
    EXPECT_EQ(system(command.c_str()), 0);
}

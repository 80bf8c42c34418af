// POSIX: one copy of the program a save folder, its lock, and a second
// copy's call to come forward, with a file to open.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/platform.h"

static volatile sig_atomic_t forward_requested;

// The folders whose lock this process holds, where a second copy leaves the
// file it hands over: the save folder, and the user's once the saves moved.
struct LockedFolders {
    char prefixes[2][1024];
    int count;
};

static LockedFolders locked_folders;

static void on_forward_request(int) {
    forward_requested = 1;
}

static bool lock_path(const char* prefix, char* out, int capacity) {
    int n = snprintf(out, (size_t)capacity, "%s.lock", prefix);
    return n > 0 && n < capacity;
}

// The holder's id, in a fixed width that overwrites any earlier one whole.
// Without it a second copy cannot call us forward and tells the user instead.
static bool record_holder(const char* path) {
    int descriptor = open(path, O_WRONLY | O_CLOEXEC);
    if (descriptor < 0) return false;
    char id[16];
    snprintf(id, sizeof(id), "%-14u\n", platform_process_id());
    bool written = write(descriptor, id, 15) == 15;
    return close(descriptor) == 0 && written;
}

FolderLock platform_lock_folder(const char* prefix) {
    char path[1040];
    if (!lock_path(prefix, path, sizeof(path))) return FolderLock::failed;
    // Read-only, so that the folder can still be remounted read-only.
    int descriptor = open(path, O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) return FolderLock::failed;
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        bool held = errno == EWOULDBLOCK;
        close(descriptor);
        return held ? FolderLock::held_by_another : FolderLock::failed;
    }
    // A second copy signals us; the signal's default would end the program,
    // so the handler comes before our id is there to be read.
    struct sigaction action {};
    action.sa_handler = on_forward_request;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGUSR1, &action, nullptr);
    record_holder(path);
    if (locked_folders.count < 2)
        snprintf(locked_folders.prefixes[locked_folders.count++],
                 sizeof(locked_folders.prefixes[0]), "%s", prefix);
    // The descriptor stays open: the lock lasts as long as the process.
    return FolderLock::taken;
}

// The program file of a process, by id or "self".
static bool executable_of(const char* process, char* out, int capacity) {
    char link[64];
    snprintf(link, sizeof(link), "/proc/%s/exe", process);
    ssize_t length = readlink(link, out, (size_t)capacity - 1);
    if (length <= 0) return false;
    out[length] = 0;
    return true;
}

static bool request_path(const char* prefix, char* out, int capacity) {
    int n = snprintf(out, (size_t)capacity, "%s.open-request", prefix);
    return n > 0 && n < capacity;
}

// The file to open, written whole under another name and renamed, so the
// holder never reads half of it.
static bool leave_request(const char* prefix, const char* file) {
    char path[1040], temporary[1060];
    if (!request_path(prefix, path, sizeof(path))) return false;
    snprintf(temporary, sizeof(temporary), "%s.%u.tmp", path, platform_process_id());
    int descriptor = open(temporary, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (descriptor < 0) return false;
    size_t length = strlen(file);
    bool written = write(descriptor, file, length) == (ssize_t)length;
    written = close(descriptor) == 0 && written;
    if (written && rename(temporary, path) == 0) return true;
    unlink(temporary);
    return false;
}

bool platform_bring_holder_forward(const char* prefix, const char* file) {
    char path[1040], id[16] = {};
    if (!lock_path(prefix, path, sizeof(path))) return false;
    int descriptor = open(path, O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return false;
    ssize_t length = read(descriptor, id, sizeof(id) - 1);
    close(descriptor);
    long holder = length > 0 ? strtol(id, nullptr, 10) : 0;
    if (holder <= 0 || holder > INT32_MAX) return false;
    // Only a copy of this very program is signalled: for a moment the file may
    // still hold the id of an earlier holder, by now another process's.
    char process[16], own[1024], theirs[1024];
    snprintf(process, sizeof(process), "%ld", holder);
    if (!executable_of("self", own, sizeof(own)) ||
        !executable_of(process, theirs, sizeof(theirs)) || strcmp(own, theirs) != 0)
        return false;
    if (file && !leave_request(prefix, file)) return false;
    return kill((pid_t)holder, SIGUSR1) == 0;
}

bool platform_take_forward_request(char* file, int capacity) {
    if (!forward_requested) return false;
    forward_requested = 0;
    file[0] = 0;
    for (int k = 0; k < locked_folders.count && !file[0]; k++) {
        char path[1040];
        if (!request_path(locked_folders.prefixes[k], path, sizeof(path))) continue;
        int descriptor = open(path, O_RDONLY | O_CLOEXEC);
        if (descriptor < 0) continue;
        ssize_t length = read(descriptor, file, (size_t)capacity - 1);
        close(descriptor);
        unlink(path);
        file[length > 0 ? length : 0] = 0;
    }
    return true;
}

// POSIX half of the platform layer (Linux and other Unix systems).
#include "platform/platform.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef __linux__
#include <X11/Xlib.h>
#endif

int64_t platform_counter_now() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (int64_t)now.tv_sec * 1000000000 + now.tv_nsec;
}

double platform_seconds_per_tick() {
    return 1.0 / 1e9;
}

// clock_nanosleep needs no timer object.
void platform_pacing_begin() {}
void platform_pacing_end() {}

void platform_wait_relative(int64_t due_time_100ns) {
    // The due time is negative and counts 100 ns units; the wait itself is in
    // whole microseconds, as the pacing computed it.
    int64_t microseconds = -due_time_100ns / 10;
    if (microseconds <= 0) return;
    timespec wait;
    wait.tv_sec = (time_t)(microseconds / 1000000);
    wait.tv_nsec = (long)(microseconds % 1000000) * 1000;
    clock_nanosleep(CLOCK_MONOTONIC, 0, &wait, nullptr);
}

void platform_sleep_until(int64_t deadline) {
    timespec due;
    due.tv_sec = (time_t)(deadline / 1000000000);
    due.tv_nsec = (long)(deadline % 1000000000);
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr);
}

bool platform_use_executable_folder() {
    char path[1024];
    ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0) return false;
    path[length] = 0;
    char* last_slash = strrchr(path, '/');
    if (!last_slash) return false;
    *last_slash = 0;
    if (last_slash == path) return chdir("/") == 0;
    return chdir(path) == 0;
}

static void* run_detached(void* entry) {
    ((int (*)())entry)();
    return nullptr;
}

bool platform_start_detached(int (*entry)()) {
    pthread_t thread;
    if (pthread_create(&thread, nullptr, run_detached, (void*)entry) != 0) return false;
    pthread_detach(thread);
    return true;
}

int platform_core_count() {
    long cores = sysconf(_SC_NPROCESSORS_ONLN);
    return cores > 0 ? (int)cores : 1;
}

void platform_raise_main_thread_priority() {}

void platform_lower_solver_thread_priority() {
#ifdef __linux__
    // On Linux each thread has a nice value of its own; making it nicer needs
    // no privilege, and 19 is the lowest priority.
    setpriority(PRIO_PROCESS, (id_t)gettid(), 19);
#endif
}

bool platform_file_mtime(const char* path, int64_t* mtime) {
    struct stat status;
    if (stat(path, &status) != 0) return false;
    *mtime = (int64_t)status.st_mtime;
    return true;
}

FILE* platform_open_file(const char* path, const char* mode) {
    return fopen(path, mode);
}

bool platform_remove_file(const char* path) {
    return remove(path) == 0;
}

bool platform_sync_file(FILE* file) {
    // Some file systems cannot sync a regular file; the data reaches them all the same.
    return fsync(fileno(file)) == 0 || errno == EINVAL || errno == ENOTSUP;
}

// A rename is a change of the folder, which has to reach the disk as well.
static void sync_parent_folder(const char* path) {
    char folder[1040];
    const char* slash = strrchr(path, '/');
    if (!slash) {
        snprintf(folder, sizeof(folder), ".");
    } else if (slash == path) {
        snprintf(folder, sizeof(folder), "/");
    } else if (snprintf(folder, sizeof(folder), "%.*s", (int)(slash - path), path) >=
               (int)sizeof(folder)) {
        return;
    }
    int descriptor = open(folder, O_RDONLY | O_DIRECTORY);
    if (descriptor < 0) return;
    fsync(descriptor);
    close(descriptor);
}

bool platform_replace_file(const char* from, const char* to) {
    if (rename(from, to) != 0) return false;
    sync_parent_folder(to);
    return true;
}

bool platform_make_folder(const char* path) {
    struct stat status;
    if (stat(path, &status) == 0) return S_ISDIR(status.st_mode);
    return mkdir(path, 0777) == 0;
}

bool platform_folder_writable(const char* prefix) {
    char probe[1040];
    int n = snprintf(probe, sizeof(probe), "%s.write-probe.%u", prefix, platform_process_id());
    if (n < 0 || n >= (int)sizeof(probe)) return false;
    // A probe left by a killed process of the same id is taken over.
    int descriptor = open(probe, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (descriptor < 0) return false;
    close(descriptor);
    unlink(probe);
    return true;
}

bool platform_user_data_folder(char* out, int capacity, bool make) {
    // Relative values are invalid by the XDG rules and are ignored.
    const char* data_home = getenv("XDG_DATA_HOME");
    const char* home = getenv("HOME");
    int n;
    if (data_home && data_home[0] == '/') {
        n = snprintf(out, (size_t)capacity, "%s/tessarin/", data_home);
    } else if (home && home[0] == '/') {
        n = snprintf(out, (size_t)capacity, "%s/.local/share/tessarin/", home);
    } else {
        return false;
    }
    if (n < 0 || n >= capacity) return false;
    if (!make) return true;
    // Every missing folder on the way is made, private to the user as the XDG rules ask.
    for (char* end = out + 1; *end; end++) {
        if (*end != '/') continue;
        *end = 0;
        bool exists = mkdir(out, 0700) == 0 || errno == EEXIST;
        *end = '/';
        if (!exists) return false;
    }
    return true;
}

void platform_list_folder(const char* prefix, void (*visit)(const char* name, void* context),
                          void* context) {
    DIR* folder = opendir(prefix[0] ? prefix : ".");
    if (!folder) return;
    while (dirent* entry = readdir(folder)) visit(entry->d_name, context);
    closedir(folder);
}

bool platform_process_running(uint32_t id) {
    // Ids beyond a pid_t would name process groups.
    if (id == 0 || id > INT32_MAX) return false;
    return kill((pid_t)id, 0) == 0 || errno == EPERM;
}

uint32_t platform_process_id() {
    return (uint32_t)getpid();
}

void platform_report_error(const char* message) {
    platform_write_message(message);
}

void platform_write_message(const char* message) {
    fprintf(stderr, "tessarin: %s\n", message);
}

// Set by a signal handler on whichever thread the signal lands; a lock-free
// atomic is safe to store to there.
static std::atomic<bool> end_signalled;
static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may only store lock-free");
static bool (*save_at_once)();

static void on_end_signal(int) {
    end_signalled.store(true, std::memory_order_relaxed);
}

#ifdef __linux__
// Xlib calls this when the display connection breaks and ends the process if
// it returns. No X or GL call works any more; the save is plain file writes.
// The run did not end as asked, so the status is 1, as Xlib's own handler has.
static int on_display_lost(Display*) {
    platform_write_message(save_at_once() ? "the display connection was lost; the board is saved"
                                          : "the display connection was lost; the board could not "
                                            "be saved");
    _exit(1);
}
#endif

void platform_watch_session_end(bool (*save)()) {
    save_at_once = save;
    struct sigaction action {};
    action.sa_handler = on_end_signal;
    sigemptyset(&action.sa_mask);
    // The handler goes after the first signal: a second one ends the program at once.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    static const int end_signals[] = {SIGTERM, SIGHUP, SIGINT};
    for (int signal_number : end_signals) {
        // A signal ignored at start stays ignored: `nohup` keeps the program
        // through a closed terminal, and a background job keeps it through Ctrl+C.
        struct sigaction previous {};
        sigaction(signal_number, nullptr, &previous);
        if (previous.sa_handler != SIG_IGN) sigaction(signal_number, &action, nullptr);
    }
#ifdef __linux__
    // A write to a display that is gone would end the process on SIGPIPE
    // before Xlib sees the broken connection and calls the handler.
    signal(SIGPIPE, SIG_IGN);
    XSetIOErrorHandler(on_display_lost);
#endif
}

bool platform_session_ending() {
    return end_signalled.load(std::memory_order_relaxed);
}

void platform_session_saved() {}

const char* platform_opengl_driver_advice() {
    return "";
}

PathKind platform_path_kind(const char* path, int64_t* size) {
    struct stat status;
    if (stat(path, &status) != 0) return errno == ENOENT ? PathKind::missing : PathKind::unreadable;
    if (S_ISDIR(status.st_mode)) return PathKind::folder;
    if (!S_ISREG(status.st_mode)) return PathKind::special;
    *size = (int64_t)status.st_size;
    return PathKind::file;
}

char* platform_absolute_path(const char* path) {
    if (path[0] == '/') return strdup(path);
    // The C library sizes the folder's name itself.
    char* folder = getcwd(nullptr, 0);
    if (!folder) return nullptr;
    size_t size = strlen(folder) + strlen(path) + 2;
    char* absolute = (char*)malloc(size);
    if (absolute) snprintf(absolute, size, "%s/%s", folder, path);
    free(folder);
    return absolute;
}

void platform_use_console_output() {}

// The entry point is compiled into the program only, not into the tests.
#ifdef TESSARIN_ENTRY_POINT
int main(int argc, char** argv) {
    return tessarin_main(argc, argv);
}
#endif

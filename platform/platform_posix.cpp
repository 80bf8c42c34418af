// POSIX half of the platform layer (Linux and other Unix systems).
#include "platform/platform.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

int64_t platform_counter_now() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (int64_t)now.tv_sec * 1000000000 + now.tv_nsec;
}

double platform_seconds_per_tick() {
    return 1.0 / 1e9;
}

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

void platform_lower_thread_priority() {
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

bool platform_replace_file(const char* from, const char* to) {
    return rename(from, to) == 0;
}

bool platform_make_folder(const char* path) {
    struct stat status;
    if (stat(path, &status) == 0) return S_ISDIR(status.st_mode);
    return mkdir(path, 0777) == 0;
}

void platform_report_error(const char* message) {
    fprintf(stderr, "tessarin: %s\n", message);
}

// The entry point is compiled into the program only, not into the tests.
#ifdef TESSARIN_ENTRY_POINT
int main() {
    return tessarin_main();
}
#endif

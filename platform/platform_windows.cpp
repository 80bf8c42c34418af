// Windows half of the platform layer.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <direct.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cstdio>
#include <cstring>

#include "platform/platform.h"

int64_t platform_counter_now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

double platform_seconds_per_tick() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1.0 / (double)frequency.QuadPart;
}

void platform_wait_relative(int64_t due_time_100ns) {
    // A new timer for every wait; none survives from one frame to the next.
    HANDLE timer = CreateWaitableTimerW(nullptr, TRUE, nullptr);
    if (!timer) return;
    LARGE_INTEGER due;
    due.QuadPart = due_time_100ns;
    if (SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE))
        WaitForSingleObject(timer, INFINITE);
    CloseHandle(timer);
}

bool platform_use_executable_folder() {
    char path[1024];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    if (length == 0 || length >= sizeof(path)) return false;
    char* last_backslash = strrchr(path, '\\');
    if (!last_backslash) return false;
    *last_backslash = 0;
    return _chdir(path) == 0;
}

static DWORD WINAPI run_detached(LPVOID entry) {
    return (DWORD)((int (*)())entry)();
}

bool platform_start_detached(int (*entry)()) {
    HANDLE thread = CreateThread(nullptr, 0, run_detached, (LPVOID)entry, 0, nullptr);
    if (!thread) return false;
    CloseHandle(thread);
    return true;
}

void platform_lower_thread_priority() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
}

bool platform_file_mtime(const char* path, int64_t* mtime) {
    struct _stat64i32 status;
    if (_stat64i32(path, &status) != 0) return false;
    *mtime = (int64_t)status.st_mtime;
    return true;
}

bool platform_replace_file(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool platform_make_folder(const char* path) {
    if (_mkdir(path) == 0) return true;
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void platform_report_error(const char* message) {
    fprintf(stderr, "tessarin: %s\n", message);
    MessageBoxA(nullptr, message, "Tessarin", MB_OK | MB_ICONERROR);
}

// The entry point is compiled into the program only, not into the tests.
#ifdef TESSARIN_ENTRY_POINT
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return tessarin_main();
}
#endif

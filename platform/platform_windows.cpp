// Windows half of the platform layer.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <mmsystem.h>

#include <direct.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

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

// Debian 12's mingw-w64 headers predate this flag of Windows 10 1803.
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

// One timer for the whole frame loop: the choice between the timers is made
// once, and no kernel object is made and closed 200 times a second.
struct Pacing {
    HANDLE timer;
    PacingTimer kind;
};
static Pacing pacing;

// A timer the system both makes and sets (older Windows refuses the
// high-resolution flag with error 87). The probe's 100 ns due time passes at
// once; the next SetWaitableTimer makes the timer unsignalled again.
static HANDLE usable_timer(DWORD flags) {
    HANDLE timer = CreateWaitableTimerExW(
        nullptr, nullptr, CREATE_WAITABLE_TIMER_MANUAL_RESET | flags, TIMER_ALL_ACCESS);
    if (!timer) return nullptr;
    LARGE_INTEGER due;
    due.QuadPart = -1;
    if (SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) return timer;
    CloseHandle(timer);
    return nullptr;
}

void platform_pacing_begin() {
    HANDLE high_resolution = usable_timer(CREATE_WAITABLE_TIMER_HIGH_RESOLUTION);
    HANDLE plain = high_resolution ? nullptr : usable_timer(0);
    pacing.kind = choose_pacing_timer(high_resolution != nullptr, plain != nullptr);
    pacing.timer = high_resolution ? high_resolution : plain;
    // A plain timer fires on the system tick, 15.6 ms unless raised.
    if (pacing.kind == PacingTimer::plain_fine_tick) timeBeginPeriod(1);
}

void platform_pacing_end() {
    if (pacing.kind == PacingTimer::plain_fine_tick) timeEndPeriod(1);
    if (pacing.timer) CloseHandle(pacing.timer);
    pacing = Pacing{};
}

void platform_wait_relative(int64_t due_time_100ns) {
    if (!pacing.timer) return;
    LARGE_INTEGER due;
    due.QuadPart = due_time_100ns;
    if (SetWaitableTimer(pacing.timer, &due, 0, nullptr, nullptr, FALSE))
        WaitForSingleObject(pacing.timer, INFINITE);
}

// Wide calls throughout: through the ANSI ones, letters outside the code page
// come back as "?" or as look-alikes ("Łódź" as "Lódz"), a folder that does
// not exist.
bool platform_use_executable_folder() {
    DWORD capacity = MAX_PATH;
    wchar_t* path = nullptr;
    DWORD length = 0;
    // A name that fills the buffer may be cut short: grow it and ask again.
    while (capacity <= 32768 * 2) {
        wchar_t* grown = (wchar_t*)realloc(path, capacity * sizeof(wchar_t));
        if (!grown) break;
        path = grown;
        length = GetModuleFileNameW(nullptr, path, capacity);
        if (length < capacity) break;
        length = 0;
        capacity *= 2;
    }
    bool changed = false;
    wchar_t* last_backslash = length > 0 ? wcsrchr(path, L'\\') : nullptr;
    if (last_backslash) {
        // "C:" alone would mean the drive's current folder, not its root.
        bool drive_root = last_backslash == path + 2 && path[1] == L':';
        last_backslash[drive_root ? 1 : 0] = 0;
        changed = SetCurrentDirectoryW(path) != 0;
    }
    free(path);
    return changed;
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

// The program's shown window on this thread, to own a message box; none
// before the game window opens (GLFW's helper window stays hidden).
static BOOL CALLBACK take_shown_window(HWND window, LPARAM found) {
    if (!IsWindowVisible(window)) return TRUE;
    *(HWND*)found = window;
    return FALSE;
}

void platform_report_error(const char* message) {
    fprintf(stderr, "tessarin: %s\n", message);
    int length = MultiByteToWideChar(CP_UTF8, 0, message, -1, nullptr, 0);
    wchar_t* text = length > 0 ? (wchar_t*)malloc((size_t)length * sizeof(wchar_t)) : nullptr;
    if (!text) return;
    MultiByteToWideChar(CP_UTF8, 0, message, -1, text, length);
    HWND owner = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), take_shown_window, (LPARAM)&owner);
    MessageBoxW(owner, text, L"Tessarin", MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
    free(text);
}

const char* platform_opengl_driver_advice() {
    return " On Windows 10 version 2004 and later, where no such driver exists (the basic "
           "display driver, many virtual machines and Remote Desktop sessions), Microsoft's "
           "\"OpenCL and OpenGL Compatibility Pack\" from the Microsoft Store may help.";
}

// The entry point is compiled into the program only, not into the tests.
#ifdef TESSARIN_ENTRY_POINT
// A -mwindows program has no console of its own, so stderr reaches no one
// unless the parent redirected it. Started from a console, it writes there.
static void use_parent_console() {
    HANDLE error_handle = GetStdHandle(STD_ERROR_HANDLE);
    if (error_handle && error_handle != INVALID_HANDLE_VALUE) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (freopen("CONOUT$", "w", stderr)) setvbuf(stderr, nullptr, _IONBF, 0);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    use_parent_console();
    return tessarin_main();
}
#endif

// Windows half of the platform layer.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <knownfolders.h>
#include <mmsystem.h>
#include <shlobj.h>

#include <direct.h>
#include <io.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "platform/platform.h"
#include "platform/windows_text.h"

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

int platform_core_count() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? (int)info.dwNumberOfProcessors : 1;
}

void platform_raise_main_thread_priority() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
}

void platform_lower_solver_thread_priority() {}

// The first shown window of a process: the game window of another copy, or
// this one's own to own a message box (none before the game window opens, as
// GLFW's helper window stays hidden).
struct ShownWindow {
    DWORD process;
    HWND window;
};

static BOOL CALLBACK take_shown_window(HWND window, LPARAM found) {
    ShownWindow* shown = (ShownWindow*)found;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != shown->process || !IsWindowVisible(window)) return TRUE;
    shown->window = window;
    return FALSE;
}

// Marks the WM_COPYDATA that hands a file to open over to the holder.
static const ULONG_PTR open_file_tag = 0x54455353; // "TESS"

// A file handed over by another copy, taken by the frame loop: the window
// procedure runs on the main thread, inside GLFW's event handling.
struct HandedFile {
    char path[4096];
    bool pending;
};
static HandedFile handed_file;

// A program started by the user may set the foreground window, which the
// holder, in the background, may not.
bool platform_bring_holder_forward(const char* prefix, const char* to_open) {
    wchar_t wide[wide_path_capacity];
    if (!lock_path(prefix, wide)) return false;
    HANDLE file = CreateFileW(wide, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char id[16] = {};
    DWORD length = 0;
    bool read = ReadFile(file, id, sizeof(id) - 1, &length, nullptr);
    CloseHandle(file);
    ShownWindow holder = {read ? (DWORD)strtoul(id, nullptr, 10) : 0, nullptr};
    if (holder.process == 0) return false;
    EnumWindows(take_shown_window, (LPARAM)&holder);
    if (!holder.window) return false;
    if (to_open) {
        COPYDATASTRUCT data = {open_file_tag, (DWORD)(strlen(to_open) + 1), (PVOID)to_open};
        DWORD_PTR taken = 0;
        // A holder that does not answer within seconds will not open it.
        if (!SendMessageTimeoutW(holder.window, WM_COPYDATA, 0, (LPARAM)&data, SMTO_ABORTIFHUNG,
                                 5000, &taken) ||
            !taken)
            return false;
    }
    if (IsIconic(holder.window)) ShowWindow(holder.window, SW_RESTORE);
    return SetForegroundWindow(holder.window) != 0;
}

bool platform_take_forward_request(char* file, int capacity) {
    if (!handed_file.pending) return false;
    handed_file.pending = false;
    snprintf(file, (size_t)capacity, "%s", handed_file.path);
    return true;
}

uint32_t platform_process_id() {
    return (uint32_t)GetCurrentProcessId();
}

// The end of a session as the system announces it. The console handler runs
// on a thread of its own; the rest on the main thread.
struct SessionEnd {
    std::atomic<bool> ending;
    bool (*save)();
    // Made once the board is loaded; set by the main thread after its last save.
    std::atomic<HANDLE> saved;
    WNDPROC glfw_procedure;
};
static SessionEnd session_end;

// Close, logoff and shutdown end the process once the handler returns. The
// main thread saves, as it does after Q; the handler only waits for it, a
// little less than the 5 s the system grants. Saving here instead would race
// the main thread's own saves, which share one temporary file.
static BOOL WINAPI on_console_event(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
    // Before the board is loaded there is nothing to save.
    HANDLE saved = session_end.saved.load();
    if (!saved) return FALSE;
    session_end.ending.store(true);
    WaitForSingleObject(saved, 4000);
    return TRUE;
}

// A -mwindows program has no console of its own, so stderr reaches no one
// unless the parent redirected it. Started from a console, it joins it at the
// first message; its Ctrl+C and Ctrl+Break are not for the game.
static void use_parent_console() {
    static bool tried;
    if (tried) return;
    tried = true;
    HANDLE error_handle = GetStdHandle(STD_ERROR_HANDLE);
    if (error_handle && error_handle != INVALID_HANDLE_VALUE) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    SetConsoleCtrlHandler(on_console_event, TRUE);
    if (freopen("CONOUT$", "w", stderr)) setvbuf(stderr, nullptr, _IONBF, 0);
}

void platform_write_message(const char* message) {
    use_parent_console();
    fprintf(stderr, "tessarin: %s\n", message);
}

void platform_report_error(const char* message) {
    platform_write_message(message);
    wchar_t text[2048];
    if (!to_wide(message, text, 2048)) return;
    ShownWindow owner = {GetCurrentProcessId(), nullptr};
    EnumThreadWindows(GetCurrentThreadId(), take_shown_window, (LPARAM)&owner);
    MessageBoxW(owner.window, text, L"Tessarin",
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
}

// Windows ends the process soon after WM_ENDSESSION returns, without a
// WM_CLOSE; GLFW does not handle either message, nor WM_COPYDATA, which
// brings a file from a second copy, so the game window's procedure is wrapped.
static LRESULT CALLBACK session_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_QUERYENDSESSION) return TRUE;
    if (message == WM_ENDSESSION && w) {
        session_end.save();
        session_end.ending.store(true);
        return 0;
    }
    // A file another copy hands over: a path with its zero, that fits.
    const COPYDATASTRUCT* data = (const COPYDATASTRUCT*)l;
    if (message == WM_COPYDATA && data->dwData == open_file_tag && data->cbData > 1 &&
        data->cbData <= sizeof(handed_file.path) &&
        ((const char*)data->lpData)[data->cbData - 1] == 0) {
        memcpy(handed_file.path, data->lpData, data->cbData);
        handed_file.pending = true;
        return TRUE;
    }
    return CallWindowProcW(session_end.glfw_procedure, window, message, w, l);
}

void platform_watch_session_end(bool (*save)()) {
    session_end.save = save;
    session_end.saved.store(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ShownWindow shown = {GetCurrentProcessId(), nullptr};
    EnumThreadWindows(GetCurrentThreadId(), take_shown_window, (LPARAM)&shown);
    if (!shown.window) return;
    session_end.glfw_procedure =
        (WNDPROC)SetWindowLongPtrW(shown.window, GWLP_WNDPROC, (LONG_PTR)session_window_procedure);
}

bool platform_session_ending() {
    return session_end.ending.load();
}

void platform_session_saved() {
    HANDLE saved = session_end.saved.load();
    if (saved) SetEvent(saved);
}

const char* platform_opengl_driver_advice() {
    return " On Windows 10 version 2004 and later, where no such driver exists (the basic "
           "display driver, many virtual machines and Remote Desktop sessions), Microsoft's "
           "\"OpenCL and OpenGL Compatibility Pack\" from the Microsoft Store may help.";
}

// The entry point is compiled into the program only, not into the tests.
#ifdef TESSARIN_ENTRY_POINT
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int argc = 0;
    char** argv = windows_arguments(&argc);
    return tessarin_main(argc, argv);
}
#endif

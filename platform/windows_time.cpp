// Sleeping until a deadline on Windows, for threads other than the frame loop's.
#include <windows.h>

#include "platform/platform.h"

// Debian 12's mingw-w64 headers predate this flag of Windows 10 1803.
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

void platform_sleep_until(int64_t deadline) {
    int64_t left = deadline - platform_counter_now();
    if (left <= 0) return;
    // A timer for this sleep alone: every search runs on a thread of its own,
    // and a timer kept per thread would be left behind by each.
    HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                          TIMER_ALL_ACCESS);
    // Relative due times are negative, in 100-nanosecond units.
    double units = (double)left * platform_seconds_per_tick() * 1e7;
    // Without the fine timer, the plain sleep; the pace still holds over time,
    // as each deadline counts from the pace's start.
    if (!timer) {
        Sleep((DWORD)(units / 1e4));
        return;
    }
    LARGE_INTEGER due;
    due.QuadPart = -(LONGLONG)units;
    if (SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE))
        WaitForSingleObject(timer, INFINITE);
    CloseHandle(timer);
}

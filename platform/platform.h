// The one place that knows the operating system. Everything else in the
// program includes this header instead of an OS header.
#pragma once

#include <cstdint>

// High-resolution monotonic counter and its tick length.
int64_t platform_counter_now();
double platform_seconds_per_tick();

// The timer that pads frames on Windows: the high-resolution one where the
// system makes and sets it (Windows 10 1803 and later), else the plain one
// with the system tick raised to 1 ms, else none and frames go unpaced.
enum class PacingTimer : uint8_t { none, high_resolution, plain_fine_tick };

constexpr PacingTimer choose_pacing_timer(bool high_resolution_works, bool plain_works) {
    if (high_resolution_works) return PacingTimer::high_resolution;
    return plain_works ? PacingTimer::plain_fine_tick : PacingTimer::none;
}

// Makes the frame timer before the frame loop and releases it after.
void platform_pacing_begin();
void platform_pacing_end();

// Sleeps for a relative due time in 100-nanosecond units (a negative value, as
// the frame pacing computes it). Returns at once when there is no timer.
void platform_wait_relative(int64_t due_time_100ns);

// Makes the folder of the running executable the working directory.
bool platform_use_executable_folder();

// Starts entry() on a new detached thread with the default stack size.
bool platform_start_detached(int (*entry)());

// Modification time of a file in whole seconds; false when the stat fails.
bool platform_file_mtime(const char* path, int64_t* mtime);

// Replaces `to` by `from` in one step (the rename of a finished temporary file).
bool platform_replace_file(const char* from, const char* to);

// Creates a folder; true when it exists afterwards.
bool platform_make_folder(const char* path);

// Tells the user why the program cannot start: stderr, and on Windows a
// message box in front, owned by the program's window once it is shown.
void platform_report_error(const char* message);

// Where else than from the graphics card's maker an OpenGL 3.3 driver may
// come from on this system, as a sentence to add to a message ("" if nowhere).
const char* platform_opengl_driver_advice();

// The program's life cycle; the platform's entry point calls it and returns its status.
int tessarin_main();

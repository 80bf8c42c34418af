// The one place that knows the operating system. Everything else in the
// program includes this header instead of an OS header.
#pragma once

#include <cstdint>

// High-resolution monotonic counter and its tick length.
int64_t platform_counter_now();
double platform_seconds_per_tick();

// Sleeps for a relative due time in 100-nanosecond units (a negative value, as
// the frame pacing computes it). Returns at once when a timer cannot be made.
void platform_wait_relative(int64_t due_time_100ns);

// Makes the folder of the running executable the working directory.
bool platform_use_executable_folder();

// Starts entry() on a new detached thread with the default stack size.
bool platform_start_detached(int (*entry)());

// Puts the calling thread below the normal priority, so that it takes only
// what the other threads leave. A failure changes nothing and is ignored.
void platform_lower_thread_priority();

// Modification time of a file in whole seconds; false when the stat fails.
bool platform_file_mtime(const char* path, int64_t* mtime);

// Replaces `to` by `from` in one step (the rename of a finished temporary file).
bool platform_replace_file(const char* from, const char* to);

// Creates a folder; true when it exists afterwards.
bool platform_make_folder(const char* path);

// Tells the user why the program cannot start: stderr, and a message box on Windows.
void platform_report_error(const char* message);

// The program's life cycle; the platform's entry point calls it and returns its status.
int tessarin_main();

// The one place that knows the operating system. Everything else in the
// program includes this header instead of an OS header.
#pragma once

#include <cstdint>
#include <cstdio>

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

// Sleeps the calling thread until the counter reaches `deadline` (at once when
// it has); any thread may call it. Waiting for a deadline, not a duration,
// keeps a row of sleeps from drifting.
void platform_sleep_until(int64_t deadline);

// Makes the folder of the running executable the working directory.
bool platform_use_executable_folder();

// Starts entry() on a new detached thread with the default stack size.
bool platform_start_detached(int (*entry)());
// The processors the program may use, 1 at least.
int platform_core_count();

// The screen comes first against our own search. Linux weighs threads by
// nice value, so the solver thread takes nice 19. Windows runs the highest
// priority strictly, so a solver below normal would starve behind other
// programs: there the solver stays normal and the main thread goes above
// it. Each is a no-op on the other system; a failure is ignored.
void platform_raise_main_thread_priority();
void platform_lower_solver_thread_priority();

// Modification time of a file in whole seconds since 1970; false when the
// stat fails.
bool platform_file_mtime(const char* path, int64_t* mtime);

// The files the program writes may lie in a folder with any name: their paths
// are UTF-8, which Windows takes only through its wide calls.
FILE* platform_open_file(const char* path, const char* mode);
bool platform_remove_file(const char* path);

// Pushes a written file's data from the system's cache to the disk; the C
// library's buffer must be flushed first. A file system that cannot do this
// for a file (it says EINVAL or ENOTSUP, on Windows that the function is not
// supported) counts as done; only real write errors fail.
bool platform_sync_file(FILE* file);

// Replaces `to` by `from` in one step (the rename of a finished temporary
// file) and makes the new name last through a power cut. On Windows a file
// held open by another program for a moment is waited for, about 200 ms.
bool platform_replace_file(const char* from, const char* to);

// Creates a folder; true when it exists afterwards.
bool platform_make_folder(const char* path);

// Whether a new file can be made in a folder, tried with a probe file of this
// process's own, which is then removed as far as the system lets us (a
// leftover probe is harmless). The folder is given as a path prefix: empty
// for the working directory, else ending in a separator.
bool platform_folder_writable(const char* prefix);

// The user's own data folder for the program, with a separator at its end:
// %LOCALAPPDATA%\Tessarin\ on Windows, $XDG_DATA_HOME/tessarin/ or
// ~/.local/share/tessarin/ elsewhere; made when missing if `make` is set.
// False when there is none, it cannot be made or it does not fit.
bool platform_user_data_folder(char* out, int capacity, bool make);

// The user's pictures folder, with a separator at its end: the Pictures
// known folder on Windows; elsewhere $XDG_PICTURES_DIR, else the one
// xdg-user-dirs wrote into user-dirs.dirs, else ~/Pictures. Made when
// missing. False when there is none, it cannot be made or it does not fit.
bool platform_pictures_folder(char* out, int capacity);

// Calls visit for each name in a folder (given as a path prefix, as above).
void platform_list_folder(const char* prefix, void (*visit)(const char* name, void* context),
                          void* context);

// Whether a process of this id is running.
bool platform_process_running(uint32_t id);

// The lock of a save folder (a file ".lock" in it) that keeps a second copy
// of the program off it. The system lets go of it when the process ends,
// however it ends, so a crash never locks the user out.
enum class FolderLock : uint8_t { taken, held_by_another, failed };
FolderLock platform_lock_folder(const char* prefix);

// Brings the window of the copy that holds a folder's lock to the front, or
// asks that copy to, and hands it `file` (an absolute path, or null) to open;
// false when the system does not let us. On POSIX the path goes into a file
// ".open-request" in the folder before the signal; on Windows by WM_COPYDATA
// to the holder's window.
bool platform_bring_holder_forward(const char* prefix, const char* file);

// True once after another copy asked this one to come to the front (on
// Windows the other copy did that itself), with the file it handed over in
// `file`, or "" for none.
bool platform_take_forward_request(char* file, int capacity);

// Tells this process from other copies of the program.
uint32_t platform_process_id();

// Tells the user why the program cannot start: stderr, and on Windows a
// message box in front, owned by the program's window once it is shown.
void platform_report_error(const char* message);

// Writes "tessarin: message" on stderr. On Windows, started from a console,
// the program joins that console only now: a run with nothing to say stays
// out of its Ctrl+C and close events.
void platform_write_message(const char* message);

// From now on the ends of a session that the system asks for end the run as
// Q does: SIGTERM, SIGHUP and SIGINT (a second one ends it at once), the
// close, logoff and shutdown events of a console the program joined, and the
// end of a Windows session. Where the process may be gone before the frame
// loop ends, `save` is called at once: the display connection lost, and
// WM_ENDSESSION. Called once the board is loaded, so an empty board is never
// saved over the old one.
void platform_watch_session_end(bool (*save)());
// Whether the system asked the run to end; the frame loop reads it.
bool platform_session_ending();
// Called after the last save of the run: a console handler that waits for
// that save lets the system go on.
void platform_session_saved();

// Where else than from the graphics card's maker an OpenGL 3.3 driver may
// come from on this system, as a sentence to add to a message ("" if nowhere).
const char* platform_opengl_driver_advice();

// What a path names, and a file's size in bytes. Special: a pipe, a device
// or a socket, which may never come to an end.
enum class PathKind : uint8_t { missing, folder, file, unreadable, special };
PathKind platform_path_kind(const char* path, int64_t* size);

// A path given relative to the folder the program was started in, made
// absolute, so it still holds once the program works in its own folder; of
// any length. Null when it cannot be made; the caller frees it.
char* platform_absolute_path(const char* path);

// Standard output and error reach the console the program was started from:
// a Windows program without a console of its own joins its parent's.
void platform_use_console_output();

// The program's life cycle; the platform's entry point calls it with the
// command line as UTF-8 (argv[0] the program) and returns its status.
int tessarin_main(int argc, char** argv);

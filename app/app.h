// The application shell: the window, the phases of a run and the frame loop.
#pragma once

#include <cstdint>

struct GLFWwindow;

extern GLFWwindow* main_window;
extern bool quit_requested;

// Phase 1: clock, working folder, save folder and its lock, window and
// context, callbacks, renderer. Failed (with the reason reported) when the
// program cannot start; handed over when another copy of the program holds
// the save folder and was brought to the front.
// A second copy hands the first the file named on its command line (absolute,
// or null) to open.
enum class StartUp : uint8_t { ready, failed, handed_over };
StartUp start_up(const char* file);
// Phase 2: "LOADING" in the middle of the window.
bool show_loading_screen();
// Phase 3: the loading screen's resources go, the game starts, clocks reset.
bool enter_game();
// One frame's work: events, file watches, the title, and when something
// changed or moves, the clear and the game's drawing. False when nothing was
// drawn: minimised or still, it waited for events first.
bool run_frame();
// Set by input, a change of the window and a reloaded file: the next frame
// is drawn.
extern bool frame_wanted;

#pragma once
// What the X display tells directly, past SDL: the size a window really has
// (a display without a window manager keeps a window's size whatever SDL
// asks of it) and the loss of the connection to the display.
#include <functional>

struct SDL_Window;

namespace plat {

// True while SDL's video runs on an X display.
bool IsX11Video();

// The size the X server gives the window's client area; false when the
// window is not on an X display or the server does not say.
bool X11WindowSize(SDL_Window* window, int* width, int* height);

// Moves and sizes the window on the X server itself, past SDL, which leaves
// a full-screen window where it is; false when the window is not on an X
// display.
bool X11PlaceWindow(SDL_Window* window, int x, int y, int width, int height);

// From now on a lost connection to the X display runs `last_words` (a log
// line, releasing what a new start waits for) and ends the process at once
// with `exit_code`. No destructor or exit handler runs: they would call into
// the dead connection and wait on it forever. Nothing happens off X.
void ExitOnDisplayLoss(std::function<void()> last_words, int exit_code);

}  // namespace plat

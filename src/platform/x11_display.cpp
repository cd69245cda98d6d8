#include "platform/x11_display.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdio>
#include <cstring>
#include <utility>

#include <unistd.h>

#include <X11/Xlib.h>

namespace plat {

namespace {

// Xlib's handler is a plain function without a context: what it does is kept here.
struct DisplayLoss {
    std::function<void()> last_words;
    int exit_code = 1;
};

DisplayLoss& Loss() {
    static DisplayLoss loss;
    return loss;
}

[[noreturn]] int OnIoError(Display*) {
    DisplayLoss& loss = Loss();
    try {
        if (loss.last_words) loss.last_words();
    } catch (...) {
        // The process ends either way; the reason must not be lost with it.
        std::fputs("Error: the connection to the display was lost.\n", stderr);
    }
    ::_exit(loss.exit_code);
}

}  // namespace

bool IsX11Video() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "x11") == 0;
}

namespace {

bool X11Info(SDL_Window* window, SDL_SysWMinfo* info) {
    if (!window || !IsX11Video()) return false;
    SDL_VERSION(&info->version);
    return SDL_GetWindowWMInfo(window, info) && info->subsystem == SDL_SYSWM_X11;
}

}  // namespace

bool X11WindowSize(SDL_Window* window, int* width, int* height) {
    SDL_SysWMinfo info;
    if (!X11Info(window, &info)) return false;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &attributes)) return false;
    *width = attributes.width;
    *height = attributes.height;
    return true;
}

bool X11PlaceWindow(SDL_Window* window, int x, int y, int width, int height) {
    SDL_SysWMinfo info;
    if (!X11Info(window, &info) || width <= 0 || height <= 0) return false;
    XMoveResizeWindow(info.info.x11.display, info.info.x11.window, x, y, static_cast<unsigned>(width),
                      static_cast<unsigned>(height));
    // Done before the size is asked for again.
    XSync(info.info.x11.display, False);
    return true;
}

void ExitOnDisplayLoss(std::function<void()> last_words, int exit_code) {
    Loss() = DisplayLoss {std::move(last_words), exit_code};
    if (IsX11Video()) XSetIOErrorHandler(OnIoError);
}

}  // namespace plat

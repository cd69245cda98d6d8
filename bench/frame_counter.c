/* Counts the frames a window shows: the X server's damage reports on it (and
 * its children) over a number of seconds, for programs that draw with any
 * toolkit. Usage: frame_counter DISPLAY WINDOW-ID SECONDS prints frames per
 * second; with --first in place of the seconds it returns at the first report
 * (30 s at most). Built by bench/game_vs_reference.py with the C compiler. */
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <time.h>

static double Now(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: %s DISPLAY WINDOW-ID SECONDS\n", argv[0]);
        return 2;
    }
    Display* dpy = XOpenDisplay(argv[1]);
    if (!dpy) {
        fprintf(stderr, "cannot open display %s\n", argv[1]);
        return 1;
    }
    int event_base = 0, error_base = 0;
    if (!XDamageQueryExtension(dpy, &event_base, &error_base)) {
        fprintf(stderr, "no DAMAGE extension\n");
        return 1;
    }
    Window win = (Window)strtoul(argv[2], NULL, 0);
    const int first = strcmp(argv[3], "--first") == 0;
    double seconds = first ? 30.0 : atof(argv[3]);
    /* One report per frame: the damage is taken away after each report. */
    Damage damage = XDamageCreate(dpy, win, XDamageReportNonEmpty);
    XSync(dpy, False);
    long frames = 0;
    const double start = Now(), end = start + seconds;
    int fd = ConnectionNumber(dpy);
    for (;;) {
        while (XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == event_base + XDamageNotify) {
                ++frames;
                XDamageSubtract(dpy, damage, None, None);
                if (first) break;
            }
        }
        double left = end - Now();
        if (left <= 0 || (first && frames > 0)) break;
        fd_set set;
        FD_ZERO(&set);
        FD_SET(fd, &set);
        struct timeval tv = {(time_t)left, (suseconds_t)((left - (time_t)left) * 1e6)};
        select(fd + 1, &set, NULL, NULL, &tv);
    }
    printf("%.1f\n", frames / (Now() - start));
    XDamageDestroy(dpy, damage);
    XCloseDisplay(dpy);
    return 0;
}

/* Starts a program and reports, on one line, the microseconds from just
 * before its exec to the mapping of its first top-level window, and its peak
 * resident memory in KiB once it has run for a further HOLD milliseconds and
 * been terminated.  Needs a display with no window manager (Xvfb).
 * Usage: map_timer HOLD_MS PROGRAM [ARGS...] */
#include <X11/Xlib.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static long long now_us(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (long long)t.tv_sec * 1000000 + t.tv_nsec / 1000;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: %s HOLD_MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int hold_ms = atoi(argv[1]);
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "no display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const long long start = now_us();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    long long mapped = -1;
    while (mapped < 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && !event.xmap.override_redirect) {
            mapped = now_us();
        }
    }
    usleep((useconds_t)hold_ms * 1000);
    kill(child, SIGTERM);
    int status = 0;
    struct rusage usage;
    wait4(child, &status, 0, &usage);
    printf("%lld %ld\n", mapped - start, usage.ru_maxrss);
    XCloseDisplay(display);
    return 0;
}

/* Starts a program and prints, in milliseconds, how long it took until its
 * top-level window with the given title was mapped, and the program's peak
 * resident memory (VmHWM, MiB) shortly after. Then ends the program.
 * Usage: mapwatch TITLE PROGRAM [ARGS...] */
#define _DEFAULT_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

static long peak_kib(pid_t pid)
{
    char path[64], line[256];
    long kib = -1;
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE *f = fopen(path, "r");
    if (!f)
        return -1;
    while (fgets(line, sizeof line, f))
        if (strncmp(line, "VmHWM:", 6) == 0)
            kib = atol(line + 6);
    fclose(f);
    return kib;
}

static int has_title(Display *dpy, Window w, const char *title)
{
    char *name = NULL;
    int match = 0;
    if (XFetchName(dpy, w, &name) && name) {
        match = strcmp(name, title) == 0;
        XFree(name);
    }
    return match;
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: mapwatch TITLE PROGRAM [ARGS...]\n");
        return 2;
    }
    Display *dpy = NULL;
    for (int i = 0; i < 50 && !dpy; ++i) {
        dpy = XOpenDisplay(NULL);
        if (!dpy)
            usleep(100 * 1000);
    }
    if (!dpy) {
        fprintf(stderr, "mapwatch: cannot open display %s\n", getenv("DISPLAY"));
        return 1;
    }
    Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);

    double start = now_ms();
    pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    for (;;) {
        XEvent ev;
        XNextEvent(dpy, &ev);
        if (ev.type == MapNotify && has_title(dpy, ev.xmap.window, argv[1]))
            break;
        if (now_ms() - start > 30000) {
            fprintf(stderr, "mapwatch: no window within 30 s\n");
            kill(pid, SIGKILL);
            return 1;
        }
    }
    double mapped = now_ms() - start;
    /* Let the first paint finish before reading the peak. */
    usleep(300 * 1000);
    long kib = peak_kib(pid);
    kill(pid, SIGTERM);
    waitpid(pid, NULL, 0);
    printf("%.1f %.1f\n", mapped, kib / 1024.0);
    return 0;
}

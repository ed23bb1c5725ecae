/* Starts a program and prints, in milliseconds from the spawn, when its
 * top-level window with the given title was mapped and when that window had
 * been painted all over once (the first frame the user sees whole, known from
 * the X server's DAMAGE reports), then the program's peak resident memory
 * (VmHWM, MiB) shortly after, and the CPU time it had used when painted.
 * Then ends the program.
 * Works with and without a window manager: the window is followed from its
 * creation, whoever becomes its parent.
 * Usage: mapwatch TITLE PROGRAM [ARGS...]
 * Prints: MAPPED_MS PAINTED_MS CPU_MS_AT_PAINTED PEAK_MIB */
#define _DEFAULT_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <dirent.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
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

/* CPU time the program has used so far, all its threads, in milliseconds
 * (what a busy machine changes least). */
static double cpu_ms(pid_t pid)
{
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
    DIR *tasks = opendir(path);
    if (!tasks)
        return -1;
    double ns = 0;
    struct dirent *task;
    while ((task = readdir(tasks))) {
        if (task->d_name[0] == '.')
            continue;
        char stat[400];
        snprintf(stat, sizeof stat, "%s/%s/schedstat", path, task->d_name);
        FILE *f = fopen(stat, "r");
        if (!f)
            continue;
        unsigned long long on_cpu = 0;
        if (fscanf(f, "%llu", &on_cpu) == 1)
            ns += (double)on_cpu;
        fclose(f);
    }
    closedir(tasks);
    return ns / 1e6;
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

static int ignore_errors(Display *dpy, XErrorEvent *error)
{
    /* A window gone before we looked at it: nothing to follow. */
    (void)dpy;
    (void)error;
    return 0;
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
    int damage_event, damage_error;
    if (!XDamageQueryExtension(dpy, &damage_event, &damage_error)) {
        fprintf(stderr, "mapwatch: the X server has no DAMAGE extension\n");
        return 1;
    }
    XSetErrorHandler(ignore_errors);
    Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);

    double start = now_ms();
    pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    Window target = None;
    int width = 0, height = 0;
    double mapped = -1, painted = -1, cpu = -1;
    Region seen = XCreateRegion();
    while (painted < 0) {
        if (now_ms() - start > 30000) {
            fprintf(stderr, "mapwatch: no painted window within 30 s\n");
            kill(pid, SIGKILL);
            return 1;
        }
        if (!XPending(dpy)) {
            /* Sleep until the server says something (or a second passes). */
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(ConnectionNumber(dpy), &readable);
            struct timeval second = {1, 0};
            select(ConnectionNumber(dpy) + 1, &readable, NULL, NULL, &second);
            continue;
        }
        XEvent ev;
        XNextEvent(dpy, &ev);
        if (ev.type == CreateNotify && ev.xcreatewindow.parent == root && target == None) {
            /* Every new top-level is followed until one turns out to be the
             * window: its map and every drawing into it. */
            Window w = ev.xcreatewindow.window;
            XSelectInput(dpy, w, StructureNotifyMask);
            XDamageCreate(dpy, w, XDamageReportRawRectangles);
            XWindowAttributes attributes;
            if (XGetWindowAttributes(dpy, w, &attributes) &&
                attributes.map_state != IsUnmapped && has_title(dpy, w, argv[1])) {
                target = w;
                width = attributes.width;
                height = attributes.height;
                mapped = now_ms() - start;
            }
        } else if (ev.type == MapNotify && target == None &&
                   has_title(dpy, ev.xmap.window, argv[1])) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(dpy, ev.xmap.window, &attributes)) {
                target = ev.xmap.window;
                width = attributes.width;
                height = attributes.height;
                mapped = now_ms() - start;
            }
        } else if (ev.type == damage_event + XDamageNotify) {
            XDamageNotifyEvent *damage = (XDamageNotifyEvent *)&ev;
            if (target == None || damage->drawable != target)
                continue;
            XUnionRectWithRegion(&damage->area, seen, seen);
            if (XRectInRegion(seen, 0, 0, width, height) == RectangleIn) {
                painted = now_ms() - start;
                cpu = cpu_ms(pid);
            }
        }
    }
    /* Let the work after the first paint run before reading the peak. */
    usleep(300 * 1000);
    long kib = peak_kib(pid);
    kill(pid, SIGTERM);
    waitpid(pid, NULL, 0);
    printf("%.1f %.1f %.1f %.1f\n", mapped, painted, cpu, kib / 1024.0);
    return 0;
}

/* windowpaint TITLE COMMAND...: paints the root window magenta, starts COMMAND and prints, in
 * milliseconds from its start, when its top-level window titled TITLE was first mapped and when
 * it was first painted: 90 % of the window's pixels no longer the magenta an unpainted window
 * shows (X windows with no background keep what was on the screen). Then ends COMMAND with
 * SIGTERM (SIGKILL 15 s later; WINDOWPAINT_LINGER_MS after the paint, if set) and waits for it.
 * WINDOWPAINT_SHOT=file.ppm keeps the screen as it was when the paint was seen. Gives up after 30 s (prints "timeout", exits 1).
 * Build: cc -O2 windowpaint.c -lX11 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#define MAGENTA 0xff00ffUL

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static int ignore_errors(Display* d, XErrorEvent* e) {
    (void)d;
    (void)e;
    return 0;
}

/* The viewable top-level window titled so, or 0. */
static Window find_window(Display* d, const char* title) {
    Window root_return, parent, *children = NULL, found = 0;
    unsigned int count = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root_return, &parent, &children, &count)) return 0;
    for (unsigned int i = count; i-- > 0 && found == 0;) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(d, children[i], &a) || a.map_state != IsViewable) continue;
        char* name = NULL;
        if (XFetchName(d, children[i], &name) && name != NULL) {
            if (strcmp(name, title) == 0) found = children[i];
            XFree(name);
        }
    }
    if (children) XFree(children);
    return found;
}

/* The share of the window's on-screen pixels that are not magenta, or -1. */
static double painted_share(Display* d, Window w) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a) || a.width < 1 || a.height < 1) return -1;
    int x, y;
    Window child;
    XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &x, &y, &child);
    const int sw = DisplayWidth(d, DefaultScreen(d)), sh = DisplayHeight(d, DefaultScreen(d));
    int x0 = x < 0 ? 0 : x, y0 = y < 0 ? 0 : y;
    int x1 = x + a.width > sw ? sw : x + a.width, y1 = y + a.height > sh ? sh : y + a.height;
    if (x1 <= x0 || y1 <= y0) return -1;
    XImage* image = XGetImage(d, DefaultRootWindow(d), x0, y0, x1 - x0, y1 - y0, AllPlanes, ZPixmap);
    if (image == NULL) return -1;
    long painted = 0, all = 0;
    for (int j = 0; j < y1 - y0; j += 4) {
        for (int i = 0; i < x1 - x0; i += 4) {
            ++all;
            if ((XGetPixel(image, i, j) & 0xffffff) != MAGENTA) ++painted;
        }
    }
    XDestroyImage(image);
    return all ? (double)painted / all : -1;
}

static void save_screen(Display* d, const char* path) {
    const int w = DisplayWidth(d, DefaultScreen(d)), h = DisplayHeight(d, DefaultScreen(d));
    XImage* image = XGetImage(d, DefaultRootWindow(d), 0, 0, w, h, AllPlanes, ZPixmap);
    FILE* out = fopen(path, "wb");
    if (image == NULL || out == NULL) {
        fprintf(stderr, "windowpaint: cannot keep the screen in %s\n", path);
    } else {
        fprintf(out, "P6\n%d %d\n255\n", w, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const unsigned long p = XGetPixel(image, x, y);
                const unsigned char rgb[3] = {(p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff};
                fwrite(rgb, 1, 3, out);
            }
        }
    }
    if (out) fclose(out);
    if (image) XDestroyImage(image);
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: windowpaint TITLE COMMAND...\n");
        return 2;
    }
    Display* d = XOpenDisplay(NULL);
    if (d == NULL) {
        fprintf(stderr, "windowpaint: no X display\n");
        return 2;
    }
    XSetErrorHandler(ignore_errors);
    XSetWindowBackground(d, DefaultRootWindow(d), MAGENTA);
    XClearWindow(d, DefaultRootWindow(d));
    XSync(d, False);

    const double start = now_ms();
    pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    double mapped = -1, painted = -1;
    Window w = 0;
    while (now_ms() - start < 30000) {
        if (w == 0 && (w = find_window(d, argv[1])) != 0) mapped = now_ms() - start;
        if (w != 0 && painted_share(d, w) >= 0.9) {
            painted = now_ms() - start;
            if (getenv("WINDOWPAINT_SHOT") != NULL) save_screen(d, getenv("WINDOWPAINT_SHOT"));
            break;
        }
        if (waitpid(child, NULL, WNOHANG) == child) break;
        usleep(1000);
    }
    if (painted < 0) printf("timeout\n");
    else printf("%.1f %.1f\n", mapped, painted);
    fflush(stdout);

    const char* linger = getenv("WINDOWPAINT_LINGER_MS");
    if (linger != NULL && painted >= 0) usleep(1000 * (useconds_t)atoi(linger));
    kill(child, SIGTERM);
    for (int i = 0; i < 1500 && waitpid(child, NULL, WNOHANG) == 0; ++i) usleep(10000);
    kill(child, SIGKILL);
    waitpid(child, NULL, 0);
    XCloseDisplay(d);
    return painted < 0;
}

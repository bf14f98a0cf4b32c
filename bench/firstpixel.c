/* firstpixel [--red] X Y COMMAND...: runs COMMAND, then polls the screen pixel at X,Y until it is
 * neither black nor what it was before (with --red: until it is the red of a film's colour bar,
 * so that a placeholder or a page drawn first does not count), and prints the milliseconds from
 * COMMAND's end to then.
 * Gives up after 20 s (prints "timeout", exits 1). Build: cc -O2 firstpixel.c -lX11 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static unsigned long pixel_at(Display* d, int x, int y) {
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, 1, 1, AllPlanes, ZPixmap);
    unsigned long p = XGetPixel(image, 0, 0) & 0xffffff;
    XDestroyImage(image);
    return p;
}

static int dark(unsigned long p) {
    return ((p >> 16) & 0xff) < 40 && ((p >> 8) & 0xff) < 40 && (p & 0xff) < 40;
}

static int red(unsigned long p) {
    return ((p >> 16) & 0xff) > 150 && ((p >> 8) & 0xff) < 90 && (p & 0xff) < 90;
}

int main(int argc, char** argv) {
    int want_red = 0;
    if (argc > 1 && strcmp(argv[1], "--red") == 0) {
        want_red = 1;
        argv++;
        argc--;
    }
    if (argc < 4) {
        fprintf(stderr, "usage: firstpixel [--red] X Y COMMAND...\n");
        return 2;
    }
    const int x = atoi(argv[1]), y = atoi(argv[2]);
    Display* d = XOpenDisplay(NULL);
    if (d == NULL) {
        fprintf(stderr, "firstpixel: no X display\n");
        return 2;
    }
    const unsigned long before = pixel_at(d, x, y);
    pid_t child = fork();
    if (child == 0) {
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const double start = now_ms();
    while (now_ms() - start < 20000) {
        const unsigned long p = pixel_at(d, x, y);
        if (want_red ? red(p) : !dark(p) && p != before) {
            printf("%.0f\n", now_ms() - start);
            return 0;
        }
        usleep(2000);
    }
    printf("timeout\n");
    return 1;
}

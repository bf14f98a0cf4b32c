/* firstpixel [--red] X Y ACTION: does ACTION, then polls the screen pixel at X,Y until it is
 * neither black nor what it was before (with --red: until it is the red of a film's colour bar,
 * so that a placeholder or a page drawn first does not count), and prints the milliseconds from
 * the action to then. ACTION is one of
 *   --key KEYSYM          a key pressed and released (XTest); timed from the press
 *   --ipc SOCKET LINE     LINE and a newline written to a Unix socket; timed from the write
 *   COMMAND...            a program run; timed from its end
 * The first two time the choice itself: a program's own start and end (xdotool waits 12 ms
 * between a key's press and release, a Python interpreter takes milliseconds to end) are not
 * counted for one side and not the other.
 * Gives up after 20 s (prints "timeout", exits 1).
 * Build: cc -O2 firstpixel.c -lX11 -l:libXtst.so.6 (libXtst comes with xdotool) */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

/* From libXtst, whose headers a machine with xdotool need not have. */
extern int XTestFakeKeyEvent(Display* display, unsigned int keycode, Bool is_press,
                             unsigned long delay);

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

/* Writes LINE and a newline to the Unix socket at PATH; 0 when written. */
static int send_line(const char* path, const char* line) {
    struct sockaddr_un address = {.sun_family = AF_UNIX};
    if (strlen(path) >= sizeof address.sun_path) {
        return -1;
    }
    strcpy(address.sun_path, path);
    const int s = socket(AF_UNIX, SOCK_STREAM, 0);
    if (s < 0 || connect(s, (struct sockaddr*)&address, sizeof address) != 0) {
        return -1;
    }
    char buffer[4096];
    const int length = snprintf(buffer, sizeof buffer, "%s\n", line);
    const int sent =
        length > 0 && length < (int)sizeof buffer && write(s, buffer, (size_t)length) == length;
    /* Left open until the end: a reader may see an early close before the line. */
    return sent ? 0 : -1;
}

int main(int argc, char** argv) {
    int want_red = 0;
    if (argc > 1 && strcmp(argv[1], "--red") == 0) {
        want_red = 1;
        argv++;
        argc--;
    }
    if (argc < 4 || (strcmp(argv[3], "--key") == 0 && argc != 5) ||
        (strcmp(argv[3], "--ipc") == 0 && argc != 6)) {
        fprintf(stderr,
                "usage: firstpixel [--red] X Y (--key KEYSYM | --ipc SOCKET LINE | COMMAND...)\n");
        return 2;
    }
    const int x = atoi(argv[1]), y = atoi(argv[2]);
    Display* d = XOpenDisplay(NULL);
    if (d == NULL) {
        fprintf(stderr, "firstpixel: no X display\n");
        return 2;
    }
    const unsigned long before = pixel_at(d, x, y);
    double start = 0;
    if (strcmp(argv[3], "--key") == 0) {
        const KeySym sym = XStringToKeysym(argv[4]);
        const KeyCode code = sym != NoSymbol ? XKeysymToKeycode(d, sym) : 0;
        if (code == 0) {
            fprintf(stderr, "firstpixel: no key %s\n", argv[4]);
            return 2;
        }
        XTestFakeKeyEvent(d, code, True, 0);
        XSync(d, False);
        start = now_ms();
        XTestFakeKeyEvent(d, code, False, 0);
        XSync(d, False);
    } else if (strcmp(argv[3], "--ipc") == 0) {
        if (send_line(argv[4], argv[5]) != 0) {
            fprintf(stderr, "firstpixel: cannot write to %s\n", argv[4]);
            return 2;
        }
        start = now_ms();
    } else {
        pid_t child = fork();
        if (child == 0) {
            execvp(argv[3], argv + 3);
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        start = now_ms();
    }
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

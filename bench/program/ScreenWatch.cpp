// Waits until a rectangle of the X screen shows at least MIN pixels of one
// colour and prints when it first did, in nanoseconds since the epoch (as
// `date +%s%N` gives them), so a script can tell how long a window took to
// paint. Exits 1 if the colour does not appear in time.
// Usage: screen_watch X Y WIDTH HEIGHT RRGGBB MIN TIMEOUT_SECONDS
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {
long long Now(clockid_t clock)
{
    timespec ts;
    clock_gettime(clock, &ts);
    return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

long CountPixels(XImage* image, unsigned long colour)
{
    long count = 0;
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x)
            if ((XGetPixel(image, x, y) & 0xFFFFFF) == colour)
                ++count;
    return count;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 8) {
        std::fprintf(stderr, "usage: screen_watch X Y WIDTH HEIGHT RRGGBB MIN TIMEOUT_SECONDS\n");
        return 2;
    }
    const int x = std::atoi(argv[1]);
    const int y = std::atoi(argv[2]);
    const int width = std::atoi(argv[3]);
    const int height = std::atoi(argv[4]);
    const unsigned long colour = std::strtoul(argv[5], nullptr, 16);
    const long minimum = std::atol(argv[6]);
    const long long timeout = std::atoll(argv[7]) * 1000000000LL;
    Display* display = XOpenDisplay(nullptr);
    if (!display || width <= 0 || height <= 0) {
        std::fprintf(stderr, "screen_watch: no display, or an empty rectangle\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    // A 24-bit TrueColor screen, as Xvfb's: pixel values are 0xRRGGBB.
    const long long start = Now(CLOCK_MONOTONIC);
    while (Now(CLOCK_MONOTONIC) - start < timeout) {
        XImage* image = XGetImage(display, root, x, y, (unsigned)width, (unsigned)height, AllPlanes, ZPixmap);
        const long long seen = Now(CLOCK_REALTIME);
        const long count = image ? CountPixels(image, colour) : 0;
        if (image)
            XDestroyImage(image);
        if (count >= minimum) {
            std::printf("%lld\n", seen);
            XCloseDisplay(display);
            return 0;
        }
        const timespec pause = {0, 2000000};  // 2 ms between looks
        nanosleep(&pause, nullptr);
    }
    XCloseDisplay(display);
    return 1;
}

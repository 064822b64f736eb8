#include "support/x_session.hpp"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <thread>

namespace {

// Xvfb writes its display number to this descriptor once it accepts connections.
std::string startServer(pid_t& pid) {
    int ready[2];
    if (pipe(ready) != 0) throw std::runtime_error("pipe failed");
    pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::close(ready[0]);
        // Xvfb reports each display number it finds taken; the tests need none of that.
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) dup2(quiet, 2);
        const std::string fd = std::to_string(ready[1]);
        // Room for a window as large as a phone's board at three device pixels a CSS pixel.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1280x24",
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    ::close(ready[1]);
    std::string number;
    char c;
    while (::read(ready[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(ready[0]);
    if (number.empty())
        throw std::runtime_error("Xvfb did not start (is the xvfb package installed?)");
    return ":" + number;
}

bool titleIs(Display* display, Window window, const std::string& title) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr) return false;
    const bool same = title == name;
    XFree(name);
    return same;
}

Window findByTitle(Display* display, Window parent, const std::string& title) {
    Window root, parentOut, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, parent, &root, &parentOut, &children, &count) == 0) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        if (titleIs(display, children[i], title)) found = children[i];
        if (found == 0) found = findByTitle(display, children[i], title);
    }
    if (children != nullptr) XFree(children);
    return found;
}

// Xlib's default handler ends the process on any protocol error; a test reports it instead.
int lastXError = 0;
int recordXError(Display*, XErrorEvent* event) {
    lastXError = event->error_code;
    return 0;
}

void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

bool writePpm(const Image& image, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    std::fprintf(file, "P6\n%d %d\n255\n", image.width, image.height);
    for (const Pixel& p : image.pixels) {
        const unsigned char rgb[3] = {static_cast<unsigned char>(p.r),
                                      static_cast<unsigned char>(p.g),
                                      static_cast<unsigned char>(p.b)};
        std::fwrite(rgb, 1, 3, file);
    }
    return std::fclose(file) == 0;
}

bool sameImage(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height) return false;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        if (a.pixels[i].r != b.pixels[i].r || a.pixels[i].g != b.pixels[i].g ||
            a.pixels[i].b != b.pixels[i].b)
            return false;
    return true;
}

XSession::XSession() {
    name_ = startServer(server_);
    display_ = XOpenDisplay(name_.c_str());
    if (display_ == nullptr) throw std::runtime_error("cannot open display " + name_);
    XSetErrorHandler(recordXError);
}

XSession::~XSession() {
    if (display_ != nullptr) XCloseDisplay(display_);
    if (server_ > 0) {
        ::kill(server_, SIGTERM);
        waitpid(server_, nullptr, 0);
    }
}

Window XSession::findWindow(const std::string& title, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const Window window = findByTitle(display_, DefaultRootWindow(display_), title);
        XWindowAttributes attributes;
        if (window != 0 && XGetWindowAttributes(display_, window, &attributes) != 0 &&
            attributes.map_state == IsViewable) {
            // Without a window manager the window sits where X put it, partly off screen,
            // and only a window wholly on screen can be read back.
            XMoveWindow(display_, window, 10, 10);
            XSync(display_, False);
            return window;
        }
        if (std::chrono::steady_clock::now() > deadline) return 0;
        pause(20);
    }
}

Image XSession::capture(Window window) {
    XWindowAttributes attributes;
    XGetWindowAttributes(display_, window, &attributes);
    Image image;
    XImage* x = XGetImage(display_, window, 0, 0, static_cast<unsigned>(attributes.width),
                          static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (x == nullptr) return image;
    image.width = attributes.width;
    image.height = attributes.height;
    image.pixels.reserve(static_cast<size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; ++y)
        for (int col = 0; col < image.width; ++col) {
            const unsigned long p = XGetPixel(x, col, y);
            image.pixels.push_back({static_cast<int>((p & x->red_mask) >> 16),
                                    static_cast<int>((p & x->green_mask) >> 8),
                                    static_cast<int>(p & x->blue_mask)});
        }
    XDestroyImage(x);
    return image;
}

Image XSession::captureChanged(Window window, const Image& before,
                               std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        Image now = capture(window);
        if (!sameImage(now, before) || std::chrono::steady_clock::now() > deadline) return now;
        pause(20);
    }
}

void XSession::movePointer(Window window, int x, int y) {
    int rootX = 0, rootY = 0;
    Window child;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), x, y, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(display_, DefaultScreen(display_), rootX, rootY, CurrentTime);
    XSync(display_, False);
}

void XSession::typeKey(Window window, const std::string& keysymName) {
    // Without a window manager the keyboard follows the pointer.
    movePointer(window, 5, 5);
    XSetInputFocus(display_, window, RevertToPointerRoot, CurrentTime);
    const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(keysymName.c_str()));
    const bool shifted = !keysymName.empty() && keysymName.size() == 1 && keysymName[0] >= 'A' &&
                         keysymName[0] <= 'Z';
    const KeyCode shift = XKeysymToKeycode(display_, XK_Shift_L);
    if (shifted) XTestFakeKeyEvent(display_, shift, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    if (shifted) XTestFakeKeyEvent(display_, shift, False, CurrentTime);
    XSync(display_, False);
}

void XSession::drag(Window window, unsigned button, int x0, int y0, int x1, int y1, int steps) {
    movePointer(window, x0, y0);
    XTestFakeButtonEvent(display_, button, True, CurrentTime);
    XSync(display_, False);
    for (int i = 1; i <= steps; ++i) {
        movePointer(window, x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
        pause(5);
    }
    XTestFakeButtonEvent(display_, button, False, CurrentTime);
    XSync(display_, False);
}

void XSession::resize(Window window, int width, int height) {
    XResizeWindow(display_, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(display_, False);
}

void XSession::requestClose(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XSync(display_, False);
}

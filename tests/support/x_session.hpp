// A private X server (Xvfb) for tests that run the real game: finds its window, reads back
// its pixels and sends it real key and mouse events through the XTEST extension.
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

struct Pixel {
    int r, g, b;
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;  // row by row from the top left

    const Pixel& at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Whether two images have the same size and the same pixels.
bool sameImage(const Image& a, const Image& b);

// Writes the image as a binary PPM file; false when it cannot.
bool writePpm(const Image& image, const std::string& path);

class XSession {
public:
    XSession();  // starts Xvfb on a free display; throws if it cannot
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // "DISPLAY=:N", for the game's environment.
    std::string displayVariable() const { return "DISPLAY=" + name_; }

    // The top-level window whose title is title, or 0 when none appears in time.
    Window findWindow(const std::string& title, std::chrono::milliseconds timeout);

    Image capture(Window window);
    // Waits until the window's pixels differ from before, returning the new image.
    Image captureChanged(Window window, const Image& before, std::chrono::milliseconds timeout);

    void typeKey(Window window, const std::string& keysymName);
    // Presses button at (x0, y0) in the window, moves to (x1, y1) in steps, releases.
    void drag(Window window, unsigned button, int x0, int y0, int x1, int y1, int steps = 10);
    void resize(Window window, int width, int height);
    // Asks the window to close, as a window manager's close button does.
    void requestClose(Window window);

    Display* display() const { return display_; }

private:
    void movePointer(Window window, int x, int y);

    pid_t server_ = -1;
    std::string name_;
    Display* display_ = nullptr;
};

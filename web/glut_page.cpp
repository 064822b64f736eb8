// GLUT for a web page, and the console's standard input and output. The window is the page's
// canvas and GLUT's event loop is the browser's: the page calls the cube4* functions below for
// its key, mouse, size and frame events. Standard input waits, through Asyncify, for the lines
// that the page sends, so that the console dialogue runs unchanged before the window opens.
#include <GL/glut.h>
#include <emscripten/emscripten.h>

#include <iostream>
#include <streambuf>

namespace {

struct Callbacks {
    void (*reshape)(int, int) = nullptr;
    void (*display)() = nullptr;
    void (*mouse)(int, int, int, int) = nullptr;
    void (*keyboard)(unsigned char, int, int) = nullptr;
    void (*motion)(int, int) = nullptr;
    void (*idle)() = nullptr;
};

Callbacks callbacks;
bool redisplayPending = false;
int windowWidth = 300;  // GLUT's default size
int windowHeight = 300;
bool eventsRunning = false;  // from glutMainLoop on
int pointerX = 0;            // where the pointer was last seen, for the keyboard callback
int pointerY = 0;

// Waits for the page's next input and copies up to size bytes of it; 0 at its end.
EM_ASYNC_JS(int, pageReadInput, (char* buffer, int size),
            { return await Module.cube4ReadInput(buffer, size); });

// Hands the page some of standard output's bytes.
EM_JS(void, pageWrite, (const char* bytes, int size),
      { Module.cube4Write(HEAPU8.subarray(bytes, bytes + size)); });

// Makes the canvas the window: its title, its largest size and a WebGL context. The page
// then tells the size it has through cube4Reshape.
EM_JS(void, pageOpenWindow, (const char* title, int width, int height),
      { Module.cube4OpenWindow(UTF8ToString(title), width, height); });

// Asks for a call of cube4Step on the browser's next frame.
EM_JS(void, pageRequestStep, (), { Module.cube4RequestStep(); });

// The page's events drive the game from here on; this never resumes.
EM_ASYNC_JS(void, pageRunEvents, (), { await new Promise(function(){}); });

// Standard input as the page's lines, a small buffer at a time.
class PageInput : public std::streambuf {
protected:
    int_type underflow() override {
        const int count = pageReadInput(buffer_, sizeof buffer_);
        if (count <= 0) return traits_type::eof();
        setg(buffer_, buffer_, buffer_ + count);
        return traits_type::to_int_type(buffer_[0]);
    }

private:
    char buffer_[256];
};

// Standard output to the page, at each flush or when the buffer fills.
class PageOutput : public std::streambuf {
public:
    PageOutput() { setp(buffer_, buffer_ + sizeof buffer_); }

protected:
    int_type overflow(int_type c) override {
        sync();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }

    int sync() override {
        if (pptr() > pbase()) pageWrite(pbase(), static_cast<int>(pptr() - pbase()));
        setp(buffer_, buffer_ + sizeof buffer_);
        return 0;
    }

private:
    char buffer_[256];
};

// Installed before main; the standard streams are set up before any other static object.
struct PageConsole {
    PageInput input;
    PageOutput output;
    PageConsole() {
        std::cin.rdbuf(&input);
        std::cout.rdbuf(&output);
    }
};
PageConsole pageConsole;

}  // namespace

void glutInit(int*, char**) {}
void glutInitDisplayMode(unsigned int) {}

void glutInitWindowSize(int width, int height) {
    windowWidth = width;
    windowHeight = height;
}

int glutCreateWindow(const char* title) {
    pageOpenWindow(title, windowWidth, windowHeight);
    return 1;
}

void glutReshapeFunc(void (*callback)(int, int)) { callbacks.reshape = callback; }
void glutDisplayFunc(void (*callback)()) { callbacks.display = callback; }
void glutMouseFunc(void (*callback)(int, int, int, int)) { callbacks.mouse = callback; }
void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) { callbacks.keyboard = callback; }
void glutMotionFunc(void (*callback)(int, int)) { callbacks.motion = callback; }

void glutIdleFunc(void (*callback)()) {
    callbacks.idle = callback;
    if (callback != nullptr) pageRequestStep();
}

void glutPostRedisplay() {
    redisplayPending = true;
    pageRequestStep();
}

namespace {

// As GLUT does when a window is shown or resized: a reshape to its size, then a display.
void reshapeWindow() {
    if (callbacks.reshape != nullptr) {
        callbacks.reshape(windowWidth, windowHeight);
    } else {
        glViewport(0, 0, windowWidth, windowHeight);
    }
    glutPostRedisplay();
}

}  // namespace

void glutMainLoop() {
    eventsRunning = true;
    reshapeWindow();
    pageRunEvents();
}

extern "C" {

// One turn of the event loop: the idle callback once, then a display if one is pending.
// The page calls it again on its next frame while either is still wanted.
EMSCRIPTEN_KEEPALIVE int cube4Step() {
    if (callbacks.idle != nullptr) callbacks.idle();
    if (redisplayPending && callbacks.display != nullptr) {
        redisplayPending = false;
        callbacks.display();
    }
    return callbacks.idle != nullptr || redisplayPending;
}

// The canvas's size in device pixels, whenever the page's layout or pixel ratio changes it.
EMSCRIPTEN_KEEPALIVE void cube4Reshape(int width, int height) {
    if (width == windowWidth && height == windowHeight) return;
    windowWidth = width;
    windowHeight = height;
    if (eventsRunning) reshapeWindow();
}

EMSCRIPTEN_KEEPALIVE void cube4Key(int key) {
    if (callbacks.keyboard != nullptr)
        callbacks.keyboard(static_cast<unsigned char>(key), pointerX, pointerY);
}

EMSCRIPTEN_KEEPALIVE void cube4Mouse(int button, int state, int x, int y) {
    pointerX = x;
    pointerY = y;
    if (callbacks.mouse != nullptr) callbacks.mouse(button, state, x, y);
}

EMSCRIPTEN_KEEPALIVE void cube4Motion(int x, int y) {
    pointerX = x;
    pointerY = y;
    if (callbacks.motion != nullptr) callbacks.motion(x, y);
}

}  // extern "C"

#include "e2e/x_server.h"

#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace qv::e2e {
namespace {

constexpr int kStartLimitMs = 15000;

// The program's windows come and go while the tests look at them: a window
// listed by XQueryTree may be gone when its name is read. Xlib's default
// handler would end the test process for that; here a request on a vanished
// window just fails: FindWindow passes it over, RequestClose reaches no one.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

// Reads the display number Xvfb writes once it accepts connections.
std::string ReadDisplayNumber(int fd) {
    std::string number;
    pollfd wait{fd, POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartLimitMs);
    while (std::chrono::steady_clock::now() < deadline && poll(&wait, 1, 100) >= 0) {
        if (!(wait.revents & (POLLIN | POLLHUP))) continue;
        char c = 0;
        if (read(fd, &c, 1) != 1 || c == '\n') break;
        number += c;
    }
    return number;
}

}  // namespace

XServer::XServer(int width, int height) {
    int fds[2];
    if (pipe(fds) != 0) return;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    // The write end is inherited by Xvfb under the same number.
    server_ = std::make_unique<Process>(
        std::vector<std::string>{XVFB_PATH, "-displayfd", std::to_string(fds[1]), "-screen", "0", screen, "-nolisten",
                                 "tcp", "-noreset"},
        std::map<std::string, std::optional<std::string>>{});
    close(fds[1]);
    const std::string number = ReadDisplayNumber(fds[0]);
    close(fds[0]);
    if (number.empty()) return;
    name_ = ":" + number;
    XSetErrorHandler(IgnoreError);
    connection_ = XOpenDisplay(name_.c_str());
}

XServer::~XServer() {
    if (connection_) XCloseDisplay(connection_);
}

Screenshot XServer::Capture() {
    Screenshot shot;
    if (!connection_) return shot;
    const Window root = DefaultRootWindow(connection_);
    XWindowAttributes attributes{};
    XGetWindowAttributes(connection_, root, &attributes);
    XImage* image = XGetImage(connection_, root, 0, 0, unsigned(attributes.width), unsigned(attributes.height), AllPlanes,
                              ZPixmap);
    if (!image) return shot;
    shot.width = attributes.width;
    shot.height = attributes.height;
    shot.pixels.resize(std::size_t(shot.width) * std::size_t(shot.height));
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            shot.pixels[std::size_t(y) * std::size_t(shot.width) + std::size_t(x)] =
                uint32_t(XGetPixel(image, x, y)) & 0xFFFFFF;
        }
    }
    XDestroyImage(image);
    return shot;
}

unsigned long XServer::FindWindow(const std::string& title) {
    if (!connection_) return 0;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    unsigned long found = 0;
    if (!XQueryTree(connection_, DefaultRootWindow(connection_), &root, &parent, &children, &count)) return 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        if (XFetchName(connection_, children[i], &name) && name) {
            if (title == name) found = children[i];
            XFree(name);
        }
    }
    if (children) XFree(children);
    return found;
}

std::optional<std::pair<long, long>> XServer::IconSize(unsigned long window) {
    if (!connection_) return std::nullopt;
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, remaining = 0;
    unsigned char* data = nullptr;
    const Atom icon = XInternAtom(connection_, "_NET_WM_ICON", False);
    std::optional<std::pair<long, long>> size;
    if (XGetWindowProperty(connection_, window, icon, 0, 2, False, XA_CARDINAL, &type, &format, &items, &remaining,
                           &data) == Success &&
        format == 32 && items == 2) {
        const long* values = reinterpret_cast<const long*>(data);  // Xlib hands 32-bit items as longs
        size = std::pair{values[0], values[1]};
    }
    if (data) XFree(data);
    return size;
}

void XServer::RequestClose(unsigned long window) {
    if (!connection_) return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(connection_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(connection_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(connection_, window, False, NoEventMask, &event);
    XFlush(connection_);
}

}  // namespace qv::e2e

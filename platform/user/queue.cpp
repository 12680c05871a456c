// The one message queue: PostMessageA, PostQuitMessage, PeekMessageA,
// GetMessageA, and the back ends' input. Messages are retrieved in the
// platform's order: posted messages, then input, then the quit message once
// both are empty, then WM_PAINT for a window whose contents are due.

#include "display/display.h"
#include "user/call.h"
#include "user/desktop.h"
#include "user/input.h"
#include "user/keyboard.h"
#include "user/names.h"

#include <deque>

namespace qv::user {
namespace {

// As on the platform, a queue holds at most this many messages, so a
// runaway poster cannot exhaust memory.
constexpr std::size_t kQueueLimit = 10000;

const HWND kThreadMessagesOnly = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));

struct Queue {
    std::deque<MSG> posted, input;
    bool quit = false;
    int quitCode = 0;
};

Queue& TheQueue() {
    static Queue queue;
    return queue;
}

bool InRange(UINT message, UINT filterMin, UINT filterMax) {
    return (filterMin == 0 && filterMax == 0) || (message >= filterMin && message <= filterMax);
}

bool ForWindow(HWND target, HWND filter) {
    if (filter == kThreadMessagesOnly) return target == nullptr;
    return filter == nullptr || filter == target;
}

bool TakeFrom(std::deque<MSG>& messages, MSG& out, HWND filter, UINT filterMin, UINT filterMax, bool remove) {
    for (auto msg = messages.begin(); msg != messages.end(); ++msg) {
        if (!ForWindow(msg->hwnd, filter) || !InRange(msg->message, filterMin, filterMax)) continue;
        out = *msg;
        if (remove) {
            messages.erase(msg);
            TrackKey(out);
        }
        return true;
    }
    return false;
}

bool Retrieve(MSG& out, HWND filter, UINT filterMin, UINT filterMax, bool remove) {
    Queue& queue = TheQueue();
    if (TakeFrom(queue.posted, out, filter, filterMin, filterMax, remove)) return true;
    if (TakeFrom(queue.input, out, filter, filterMin, filterMax, remove)) return true;
    if (queue.quit && (filter == nullptr || filter == kThreadMessagesOnly) && InRange(WM_QUIT, filterMin, filterMax)) {
        out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0, 0, {0, 0}};
        if (remove) queue.quit = false;
        return true;
    }
    if (!InRange(WM_PAINT, filterMin, filterMax) || filter == kThreadMessagesOnly) return false;
    HWND due = filter ? filter : FirstWindowDueForPaint();
    Window* window = FindWindow(due);
    if (!window || !window->visible || !window->needsPaint) return false;
    // WM_PAINT stays due until the procedure paints (DefWindowProcA does).
    out = MSG{due, WM_PAINT, 0, 0, 0, {0, 0}};
    return true;
}

// The window filter of Peek/GetMessageA is null, -1, or a live window.
bool ValidFilter(HWND filter) { return !filter || filter == kThreadMessagesOnly || FindWindow(filter); }

std::string FilterText(UINT message) { return message ? MessageText(message) : "0"; }

bool Post(std::deque<MSG>& messages, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (messages.size() >= kQueueLimit) return false;
    messages.push_back(MSG{window, message, wParam, lParam, 0, {0, 0}});
    return true;
}

}  // namespace

bool QueueMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Post(TheQueue().posted, window, message, wParam, lParam);
}

void PostInputMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (FindWindow(window)) Post(TheQueue().input, window, message, wParam, lParam);
}

namespace {

// The back ends' input arrives here, the window layer handing itself to the
// display as the process starts.
class DisplayInput final : public display::InputSink {
public:
    DisplayInput() { display::ConnectInput(this); }
    void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        PostInputMessage(window, message, wParam, lParam);
    }
    void Invalidate(HWND window) override { InvalidateWindow(window); }
    const char* Title(HWND window) override { return WindowTitle(window); }
    const unsigned char* ClassIcon(HWND window, std::size_t& size) override {
        const ModuleResource* resource = IconResource(WindowIcon(window, false));
        if (!resource) return nullptr;
        size = resource->size;
        return resource->bytes;
    }
};
DisplayInput displayInput;

}  // namespace

void DropMessagesFor(HWND window) {
    for (std::deque<MSG>* messages : {&TheQueue().posted, &TheQueue().input}) {
        std::erase_if(*messages, [window](const MSG& msg) { return msg.hwnd == window; });
    }
}

void ResetQueue() { TheQueue() = Queue{}; }

}  // namespace qv::user

using namespace qv;

extern "C" BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return user::Call<BOOL>(
        "PostMessageA", FALSE,
        [&]() -> user::Outcome<BOOL> {
            if (window && !user::FindWindow(window)) return {FALSE, "no such window"};
            if (!user::QueueMessage(window, message, wParam, lParam)) return {FALSE, "the message queue is full"};
            return {TRUE};
        },
        [&](control::CallTrace& trace) { user::MessageArguments(trace, window, message, wParam, lParam); },
        user::BoolText);
}

// It cannot fail and returns nothing: only its trace line is written.
extern "C" void WINAPI PostQuitMessage(int exitCode) {
    control::CallTrace("PostQuitMessage").Arg(exitCode).Result("void");
    user::TheQueue().quit = true;
    user::TheQueue().quitCode = exitCode;
}

extern "C" BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeMessage) {
    bool remove = (removeMessage & PM_REMOVE) != 0;
    bool found = false;
    return user::Call<BOOL>(
        "PeekMessageA", FALSE,
        [&]() -> user::Outcome<BOOL> {
            display::Active().PumpInput(0);
            if (!msg) return {FALSE, "no message record"};
            if (!user::ValidFilter(window)) return {FALSE, "no such window"};
            MSG next{};
            found = user::Retrieve(next, window, filterMin, filterMax, remove);
            if (found) *msg = next;
            return {found};
        },
        [&](control::CallTrace& trace) {
            trace.Arg(found ? user::RecordText(msg) : msg ? "&msg" : "NULL")
                .Arg(user::WindowText(window))
                .Arg(user::FilterText(filterMin))
                .Arg(user::FilterText(filterMax))
                .Arg(remove ? "PM_REMOVE" : "PM_NOREMOVE");
        },
        user::BoolText);
}

extern "C" BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
    // On an error the record is cleared, so that a caller who dispatches it
    // anyway does not handle the previous message a second time.
    if (msg) *msg = MSG{};
    bool found = false;
    return user::Call<BOOL>(
        "GetMessageA", -1,
        [&]() -> user::Outcome<BOOL> {
            if (!msg) return {-1, "no message record"};
            if (!user::ValidFilter(window)) return {-1, "no such window"};
            display::Backend& backend = display::Active();
            backend.PumpInput(0);
            // Waiting is only worth it while input can still arrive; otherwise
            // the call would never return.
            bool inputCanArrive = true;
            while (!user::Retrieve(*msg, window, filterMin, filterMax, true)) {
                if (!inputCanArrive) return {-1, "no message is queued and no input can arrive"};
                inputCanArrive = backend.PumpInput(-1);
            }
            found = true;
            return {msg->message == WM_QUIT ? 0 : 1};
        },
        [&](control::CallTrace& trace) {
            trace.Arg(found ? user::RecordText(msg) : msg ? "&msg" : "NULL")
                .Arg(user::WindowText(window))
                .Arg(user::FilterText(filterMin))
                .Arg(user::FilterText(filterMax));
        },
        user::ResultText);
}

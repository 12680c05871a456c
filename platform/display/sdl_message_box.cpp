// On X11, SDL shows a message box from a process it forks and waits for that
// process; SIGTERM and SIGINT meanwhile reach SDL's own handlers, which only
// note a quit request that nobody reads while the box waits. So the box runs
// on a helper thread while the calling thread reads records from one pipe:
// a signal (from handlers installed for the box's lifetime), a process forked
// while the box shows (from a fork handler run in that process) and the end
// of the box (from the helper thread). A signal kills the forked processes
// still alive, which ends SDL's wait, and the helper thread is joined: no box
// outlives the call and SDL is never used from two threads at once. A box
// shown without a process of its own cannot be ended that way: after a grace
// period it is left to the process's exit.

#include "display/sdl_message_box.h"

#include <SDL.h>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <iterator>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace qv::display {
namespace {

constexpr int kGraceMs = 2000;
constexpr int kEndingSignals[] = {SIGTERM, SIGINT};

enum class Record : int32_t { kSignal, kForked, kEnded };
struct Event {
    Record kind;
    int32_t value;
};

// The write end of the pipe while a box shows, else -1.
std::atomic<int> eventsFd{-1};

// Async-signal-safe: called from signal handlers and in forked processes.
void Post(Record kind, int32_t value) {
    const int fd = eventsFd.load();
    if (fd < 0) return;
    const int savedErrno = errno;
    const Event event{kind, value};
    if (write(fd, &event, sizeof event) != sizeof event) {
        // Only a pipe already holding thousands of unread records drops one.
    }
    errno = savedErrno;
}

extern "C" void PostSignal(int signal) { Post(Record::kSignal, signal); }
extern "C" void PostForked() { Post(Record::kForked, int32_t(getpid())); }

// Both ends close on exec; writing never blocks a signal handler.
bool OpenEventPipe(int fds[2]) {
    if (pipe(fds) != 0) return false;
    for (int i : {0, 1}) fcntl(fds[i], F_SETFD, FD_CLOEXEC);
    fcntl(fds[1], F_SETFL, O_NONBLOCK);
    return true;
}

// Waits up to timeoutMs (-1: without limit) for the next record.
bool NextEvent(int fd, int timeoutMs, Event& event) {
    pollfd readable{fd, POLLIN, 0};
    for (;;) {
        const int ready = poll(&readable, 1, timeoutMs);
        if (ready < 0 && errno == EINTR) continue;
        return ready > 0 && read(fd, &event, sizeof event) == sizeof event;
    }
}

// A process id may be reused once its process has been waited for: only a
// child not yet waited for is killed.
void KillLiveChildren(std::vector<pid_t>& forked) {
    for (pid_t pid : forked) {
        siginfo_t info{};
        if (waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0) kill(pid, SIGKILL);
    }
    forked.clear();
}

Uint32 MessageBoxFlags(UINT type) {
    switch (type & 0xF0) {
        case MB_ICONERROR: return SDL_MESSAGEBOX_ERROR;
        case MB_ICONWARNING: return SDL_MESSAGEBOX_WARNING;
        default: return SDL_MESSAGEBOX_INFORMATION;
    }
}

}  // namespace

void ShowSdlMessageBox(const char* text, const char* caption, UINT type) {
    const Uint32 flags = MessageBoxFlags(type);
    int fds[2];
    if (!OpenEventPipe(fds)) {
        SDL_ShowSimpleMessageBox(flags, caption, text, nullptr);
        return;
    }
    static std::once_flag forkHandler;
    std::call_once(forkHandler, [] { pthread_atfork(nullptr, nullptr, PostForked); });
    eventsFd = fds[1];
    // Restarting keeps the signals from failing SDL's calls on the helper thread.
    struct sigaction ours {};
    ours.sa_handler = PostSignal;
    ours.sa_flags = SA_RESTART;
    sigemptyset(&ours.sa_mask);
    struct sigaction previous[std::size(kEndingSignals)];
    for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) sigaction(kEndingSignals[i], &ours, &previous[i]);

    bool ended = false;
    std::thread box;
    try {
        box = std::thread([flags, caption = std::string(caption), text = std::string(text)] {
            SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), nullptr);
            Post(Record::kEnded, 0);
        });
    } catch (const std::system_error&) {
        SDL_ShowSimpleMessageBox(flags, caption, text, nullptr);
        ended = true;
    }
    std::vector<pid_t> forked;
    bool signalled = false;
    Event event{};
    while (!ended && NextEvent(fds[0], signalled ? kGraceMs : -1, event)) {
        ended = event.kind == Record::kEnded;
        if (event.kind == Record::kForked) forked.push_back(event.value);
        if (event.kind == Record::kSignal) signalled = true;
        if (signalled) KillLiveChildren(forked);
    }

    for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) sigaction(kEndingSignals[i], &previous[i], nullptr);
    eventsFd = -1;
    if (!ended) {
        box.detach();  // the pipe stays open for it
        return;
    }
    if (box.joinable()) box.join();
    close(fds[0]);
    close(fds[1]);
}

}  // namespace qv::display

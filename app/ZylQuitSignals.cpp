#include "app/ZylQuitSignals.h"

#include <juce_events/juce_events.h>

#include <utility>

#if JUCE_LINUX || JUCE_BSD
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace
{
constexpr int kQuitSignals[] = { SIGTERM, SIGHUP };
constexpr int kQuitSignalCount = 2;

// Read end and write end. Made once and kept open for the life of the process: a handler still
// running on another thread while the object goes away never writes to a closed descriptor or
// to one reused by another file.
int quitPipe[2] = { -1, -1 };
struct sigaction previousActions[kQuitSignalCount];
// Which signals got the handler: not those ignored when the object was made.
bool handled[kQuitSignalCount] = {};

bool isIgnored(int signal)
{
    struct sigaction current {};
    return sigaction(signal, nullptr, &current) == 0 && (current.sa_flags & SA_SIGINFO) == 0
           && current.sa_handler == SIG_IGN;
}

void onQuitSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds a request; nothing else may be done here.
    [[maybe_unused]] const auto written = ::write(quitPipe[1], &byte, 1);
    errno = savedErrno;
}

bool makeQuitPipe()
{
    if (quitPipe[0] >= 0)
        return true;
    int ends[2];
    if (::pipe(ends) != 0)
        return false;
    for (const int end : ends)
    {
        ::fcntl(end, F_SETFL, ::fcntl(end, F_GETFL) | O_NONBLOCK);
        ::fcntl(end, F_SETFD, FD_CLOEXEC);
    }
    quitPipe[0] = ends[0];
    quitPipe[1] = ends[1];
    return true;
}

void drainQuitPipe()
{
    char buffer[64];
    while (::read(quitPipe[0], buffer, sizeof buffer) > 0)
    {
    }
}
} // namespace

ZylQuitSignals::ZylQuitSignals(std::function<void()> quitRequest)
    : onQuitRequest(std::move(quitRequest))
{
    if (!makeQuitPipe())
        return;
    drainQuitPipe();
    juce::LinuxEventLoop::registerFdCallback(quitPipe[0], [this](int) {
        drainQuitPipe();
        if (onQuitRequest)
            onQuitRequest();
    });

    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    // Calls of other threads that the signal interrupts go on; the message loop's wait is woken
    // by the pipe.
    action.sa_flags = SA_RESTART;
    // A signal that whatever started the program set to be ignored (nohup, a daemon) stays
    // ignored, as shells keep it.
    for (int k = 0; k < kQuitSignalCount; ++k)
        handled[k] = !isIgnored(kQuitSignals[k])
                     && sigaction(kQuitSignals[k], &action, &previousActions[k]) == 0;
    active = true;
}

ZylQuitSignals::~ZylQuitSignals()
{
    if (!active)
        return;
    for (int k = 0; k < kQuitSignalCount; ++k)
        if (handled[k])
            sigaction(kQuitSignals[k], &previousActions[k], nullptr);
    juce::LinuxEventLoop::unregisterFdCallback(quitPipe[0]);
    drainQuitPipe();
}

#else

ZylQuitSignals::ZylQuitSignals(std::function<void()> quitRequest)
    : onQuitRequest(std::move(quitRequest))
{
}

ZylQuitSignals::~ZylQuitSignals() = default;

#endif

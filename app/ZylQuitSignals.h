#pragma once

#include <functional>

// Turns SIGTERM and SIGHUP (a logout, a shut-down, `kill`, a closed terminal) into a quit
// request on the message thread, so that the program ends as when its window is closed and
// writes its settings, in place of being killed outright. JUCE's own SIGINT handler on Linux
// only raises a flag that its message loop reads; these signals take the same kind of path: the
// handler does nothing but write one byte to a pipe (which is async-signal-safe), and the
// message loop, which watches the pipe, calls the quit request. The pipe also wakes a loop that
// sleeps, whichever thread the signal landed on. A signal that was ignored when the object was
// made (a program started by nohup, or by a daemon that ignores SIGHUP) stays ignored, as shells
// keep it.
//
// On a system without these signals (Windows) the object does nothing. One object at a time;
// the previous handlers come back when it is deleted.
class ZylQuitSignals
{
public:
    explicit ZylQuitSignals(std::function<void()> quitRequest);
    ~ZylQuitSignals();

    ZylQuitSignals(const ZylQuitSignals&) = delete;
    ZylQuitSignals& operator=(const ZylQuitSignals&) = delete;

    // Whether the signals that were not ignored are answered (false where the system has no
    // such signals or the pipe could not be made).
    bool isActive() const { return active; }

private:
    std::function<void()> onQuitRequest;
    bool active = false;
};

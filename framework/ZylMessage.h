#pragma once

#include <juce_events/juce_events.h>

// Milliseconds of a monotonic clock since the process started (the origin is taken during static
// initialisation). Wraps to 0 after about 24.8 days, never negative.
int zylCurrentTimeMs();

// The asynchronous message of the program's own notification path. Reference-counted; the JUCE
// queue owns it once posted and drops it when its sink list has been destroyed meanwhile.
class ZylMessage : public juce::Message
{
public:
    ZylMessage(void* messageSender, int messageCode, int messageTimeMs) noexcept;
    ~ZylMessage() override;

    // How many messages exist now, queued or being delivered: the length of the program's
    // share of the message queue.
    static int getNumAlive() noexcept;

    void* getSender() const noexcept { return sender; }
    int getCode() const noexcept { return code; }
    int getTimeMs() const noexcept { return timeMs; }

private:
    void* const sender;
    const int code;
    const int timeMs;
};

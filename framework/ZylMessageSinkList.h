#pragma once

#include "framework/ZylMessageSink.h"

#include <juce_events/juce_events.h>

#include <vector>

// The registered sinks of one message source, kept in ascending address order without
// duplicates or null, and the JUCE listener that the source's messages are addressed to.
// The lock guards the set only; it is never held while a sink runs.
class ZylMessageSinkList : public juce::MessageListener
{
public:
    ZylMessageSinkList() = default;
    ~ZylMessageSinkList() override = default;

    void addSink(ZylMessageSink* sink);
    void removeSink(ZylMessageSink* sink);
    bool containsSink(ZylMessageSink* sink) const;
    int getNumSinks() const;

    // Queues a ZylMessage to this list when at least one sink is registered; any thread.
    void post(void* sender, int code, int timeMs);

    // Calls every sink registered now, from the highest address to the lowest; message thread.
    // A sink removed during the walk is not called after its removal, a sink added during the
    // walk waits for the next message, and no sink is called twice for one message. A sink may
    // even destroy the source: the walk then stops.
    void deliver(void* sender, int code, int timeMs);

    void handleMessage(const juce::Message& message) override;

private:
    bool containsLocked(ZylMessageSink* sink) const;

    mutable juce::CriticalSection lock;
    std::vector<ZylMessageSink*> sinks;

    JUCE_DECLARE_NON_COPYABLE(ZylMessageSinkList)
};

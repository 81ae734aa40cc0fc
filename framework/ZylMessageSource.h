#pragma once

#include "framework/ZylMessageSinkList.h"

// The sending side of the program's change notification. Posting may happen on any thread,
// including the audio thread; it allocates one message only when a sink is registered, and
// delivery happens later on the message thread. A source never owns its sinks. It must outlive
// the delivery of its messages only as far as receivers call it: messages still queued when it
// is destroyed are dropped.
class ZylMessageSource
{
public:
    ZylMessageSource() = default;
    virtual ~ZylMessageSource() = default;

    void addSink(ZylMessageSink* sink) { sinkList.addSink(sink); }
    void removeSink(ZylMessageSink* sink) { sinkList.removeSink(sink); }

    // Stamps the message with zylCurrentTimeMs.
    void postMessage(void* sender, int code);
    // For sources that forward another source's message and keep its time.
    void postTimedMessage(void* sender, int code, int timeMs);
    // Queues nothing while a message of the same sender and code posted this way still waits
    // for delivery (ZylMessageSinkList::postCoalesced).
    void postCoalescedMessage(void* sender, int code);

    ZylMessageSinkList& getSinkList() noexcept { return sinkList; }
    const ZylMessageSinkList& getSinkList() const noexcept { return sinkList; }

private:
    ZylMessageSinkList sinkList;

    JUCE_DECLARE_NON_COPYABLE(ZylMessageSource)
};

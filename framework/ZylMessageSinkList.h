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
    // As post, except that while a message of the same sender and code queued this way waits
    // for delivery, nothing more is queued: for messages whose receivers read the sender's state
    // when they arrive, so that a sender changing faster than the message thread delivers keeps
    // one message in the queue, not one per change, however many senders and codes the list
    // carries. The waiting message keeps its place and its time; it stops waiting just before
    // its sinks are called, so a change made during or after the delivery is told again.
    void postCoalesced(void* sender, int code, int timeMs);

    // Calls every sink registered now, from the highest address to the lowest; message thread.
    // A sink removed during the walk is not called after its removal, a sink added during the
    // walk waits for the next message, and no sink is called twice for one message. A sink may
    // even destroy the source: the walk then stops.
    void deliver(void* sender, int code, int timeMs);

    void handleMessage(const juce::Message& message) override;

private:
    bool containsLocked(ZylMessageSink* sink) const;

    struct Waiting
    {
        void* sender;
        int code;
        juce::Message::Ptr message;
    };
    // The entry of (sender, code) in waiting, or where it would go; under the lock.
    std::vector<Waiting>::iterator findWaiting(void* sender, int code);

    // Room for this many waiting messages is reserved when the first sink registers, so that
    // posting a few allocates nothing beyond the message. More grow the list, once: it holds one
    // entry per (sender, code) pair at most and keeps its room.
    static constexpr size_t kReservedWaiting = 8;

    mutable juce::CriticalSection lock;
    std::vector<ZylMessageSink*> sinks;
    // The coalesced messages queued and not yet delivered, in (sender, code) order.
    std::vector<Waiting> waiting;

    JUCE_DECLARE_NON_COPYABLE(ZylMessageSinkList)
};

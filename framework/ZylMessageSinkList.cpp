#include "framework/ZylMessageSinkList.h"

#include "framework/ZylMessage.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace
{
// Address order as a total order, also for pointers into different objects.
constexpr std::less<ZylMessageSink*> addressLess{};
} // namespace

void ZylMessageSinkList::addSink(ZylMessageSink* sink)
{
    if (sink == nullptr)
        return;
    const juce::ScopedLock sl(lock);
    if (waiting.capacity() < kReservedWaiting)
        waiting.reserve(kReservedWaiting);
    const auto place = std::lower_bound(sinks.begin(), sinks.end(), sink, addressLess);
    if (place == sinks.end() || *place != sink)
        sinks.insert(place, sink);
}

void ZylMessageSinkList::removeSink(ZylMessageSink* sink)
{
    const juce::ScopedLock sl(lock);
    const auto place = std::lower_bound(sinks.begin(), sinks.end(), sink, addressLess);
    if (place != sinks.end() && *place == sink)
        sinks.erase(place);
}

bool ZylMessageSinkList::containsSink(ZylMessageSink* sink) const
{
    const juce::ScopedLock sl(lock);
    return containsLocked(sink);
}

bool ZylMessageSinkList::containsLocked(ZylMessageSink* sink) const
{
    return std::binary_search(sinks.begin(), sinks.end(), sink, addressLess);
}

int ZylMessageSinkList::getNumSinks() const
{
    const juce::ScopedLock sl(lock);
    return static_cast<int>(sinks.size());
}

void ZylMessageSinkList::post(void* sender, int code, int timeMs)
{
    // Queued under the lock so that posts of one source keep their order across threads, and so
    // that the listener's weak-reference holder is created by one thread at a time.
    const juce::ScopedLock sl(lock);
    if (sinks.empty())
        return;
    postMessage(new ZylMessage(sender, code, timeMs));
}

std::vector<ZylMessageSinkList::Waiting>::iterator ZylMessageSinkList::findWaiting(void* sender, int code)
{
    return std::lower_bound(waiting.begin(), waiting.end(), std::make_pair(sender, code),
                            [](const Waiting& entry, const std::pair<void*, int>& key) {
                                if (entry.sender != key.first)
                                    return std::less<void*>{}(entry.sender, key.first);
                                return entry.code < key.second;
                            });
}

void ZylMessageSinkList::postCoalesced(void* sender, int code, int timeMs)
{
    const juce::ScopedLock sl(lock);
    if (sinks.empty())
        return;
    const auto place = findWaiting(sender, code);
    if (place != waiting.end() && place->sender == sender && place->code == code)
        return;
    auto* message = new ZylMessage(sender, code, timeMs);
    const auto entry = waiting.insert(place, { sender, code, message });
    postMessage(message);
    // Delivery needs this lock, so only a queue that refused the message (no message manager,
    // or quitting) can have let go of it already; it must not block later posts.
    if (message->getReferenceCount() == 1)
        waiting.erase(entry);
}

void ZylMessageSinkList::deliver(void* sender, int code, int timeMs)
{
    std::vector<ZylMessageSink*> registered;
    juce::WeakReference<juce::MessageListener> self;
    {
        const juce::ScopedLock sl(lock);
        if (sinks.empty())
            return;
        registered = sinks;
        self = this;
    }

    for (auto it = registered.rbegin(); it != registered.rend(); ++it)
    {
        if (!containsSink(*it))
            continue;
        (*it)->receiveMessage(sender, code, timeMs);
        if (self.get() == nullptr)
            return;
    }
}

void ZylMessageSinkList::handleMessage(const juce::Message& message)
{
    if (auto* zylMessage = dynamic_cast<const ZylMessage*>(&message))
    {
        {
            // A plain post of the same sender and code is not the waiting message.
            const juce::ScopedLock sl(lock);
            const auto place = findWaiting(zylMessage->getSender(), zylMessage->getCode());
            if (place != waiting.end() && place->message.get() == zylMessage)
                waiting.erase(place); // the queue still holds the message
        }
        deliver(zylMessage->getSender(), zylMessage->getCode(), zylMessage->getTimeMs());
    }
}

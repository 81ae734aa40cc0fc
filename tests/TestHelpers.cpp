#include "TestHelpers.h"

#include <juce_events/juce_events.h>

#include <atomic>
#include <memory>

namespace juce
{
// Defined by juce_events for every platform: dispatches what is pending on the system queue and
// tells whether anything was dispatched.
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);
} // namespace juce

namespace zyltest
{
void drainMessageQueue()
{
    jassert(juce::MessageManager::getInstance()->isThisTheMessageThread());

    for (int round = 0; round < 100000; ++round)
    {
        auto sentinelRan = std::make_shared<std::atomic<bool>>(false);
        juce::MessageManager::callAsync([sentinelRan] { *sentinelRan = true; });

        while (!*sentinelRan)
            juce::dispatchNextMessageOnSystemQueue(true);

        // Messages posted while the round ran sit behind the sentinel: go round again.
        if (!juce::dispatchNextMessageOnSystemQueue(true))
            return;
    }
    jassertfalse; // something keeps posting forever
}
} // namespace zyltest

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

#if JUCE_WINDOWS
#include <windows.h>

namespace juce
{
// JUCE's hidden message window, which a posted message wakes with its private message id.
extern HWND juce_messageWindowHandle;
} // namespace juce
#endif

namespace zyltest
{
void drainMessageQueue()
{
    jassert(juce::MessageManager::getInstance()->isThisTheMessageThread());

    for (int round = 0; round < 100000; ++round)
    {
        auto sentinelRan = std::make_shared<std::atomic<bool>>(false);
        juce::MessageManager::callAsync([sentinelRan] { *sentinelRan = true; });

#if JUCE_WINDOWS
        int idlePolls = 0;
#endif
        while (!*sentinelRan)
        {
            if (juce::dispatchNextMessageOnSystemQueue(true))
                continue;
#if JUCE_WINDOWS
            // Nothing pending although the sentinel waits in JUCE's queue: under Wine the
            // message that wakes the queue is now and then lost, and the queue would wait
            // forever. Wake it again; a spare wake-up finds an empty queue and does nothing.
            if (++idlePolls % 100 == 0)
                PostMessage(juce::juce_messageWindowHandle, WM_USER + 123, 0, 0);
#endif
        }

        // Messages posted while the round ran sit behind the sentinel: go round again.
        if (!juce::dispatchNextMessageOnSystemQueue(true))
            return;
    }
    jassertfalse; // something keeps posting forever
}
} // namespace zyltest

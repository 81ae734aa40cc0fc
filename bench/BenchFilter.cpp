#include "bench/BenchFilter.h"

#include "framework/ZylModuleContainer.h"

#include <juce_events/juce_events.h>

namespace juce
{
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);
} // namespace juce

std::unique_ptr<ZylModule> BenchFilter::createRootModule()
{
    return std::make_unique<ZylLumenfoldModule>(getModuleContainer(), nullptr);
}

ZylLumenfoldModule& BenchFilter::root() const
{
    return *static_cast<ZylLumenfoldModule*>(getModuleContainer()->getRootModule());
}

void benchDeliverMessages()
{
    // Bounded, so that a message that posts itself again cannot hold the bench for ever.
    for (int i = 0; i < 100000 && juce::dispatchNextMessageOnSystemQueue(true); ++i)
    {
    }
}

#include "space/ZylLiveSpace.h"

#include "space/ZylSpace.h"

namespace
{
constexpr size_t kPrimary = 0;
constexpr size_t kSecondary = 1;
constexpr size_t kNumLayers = 2;
} // namespace

ZylLiveSpace::ZylLiveSpace()
{
    for (size_t i = 0; i < kNumLayers; ++i)
        states.push_back(std::make_unique<ZylCellStates>());
    // Notes shown from MIDI input stand out from the user's own chords.
    states[kSecondary]->setSoundingColour(juce::Colours::lime);
}

ZylLiveSpace::~ZylLiveSpace() = default;

ZylSpace* ZylLiveSpace::getSpace() const
{
    return space;
}

void ZylLiveSpace::setSpace(ZylSpace* s)
{
    space = s;
    // Sized once for the space: the audio thread then fills the layers' sets without growing
    // them.
    if (space != nullptr)
        for (const auto& layer : states)
            layer->reserveCells(space->getCells().size());
}

const ZylLiveSpace::StatesList& ZylLiveSpace::getStates() const
{
    return states;
}

ZylCellStates* ZylLiveSpace::getPrimaryStates() const
{
    return states.size() > kPrimary ? states[kPrimary].get() : nullptr;
}

ZylCellStates* ZylLiveSpace::getSecondaryStates() const
{
    return states.size() > kSecondary ? states[kSecondary].get() : nullptr;
}

const juce::CriticalSection& ZylLiveSpace::getLock() const
{
    return lock;
}

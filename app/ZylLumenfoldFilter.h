#pragma once

#include "framework/ZylFilter.h"

#include <memory>

class ZylMidiPortBackend;

// The program's audio processor: the framework's processor over the product's module tree
// (ZylLumenfoldModule) with the product's editor (ZylLumenfoldEditor). Construct, then call
// initialise (createPluginFilter does both).
class ZylLumenfoldFilter : public ZylFilter
{
public:
    // The MIDI groups reach the system's ports through ports, which must outlive the processor;
    // null gives a tree without ports.
    explicit ZylLumenfoldFilter(ZylMidiPortBackend* ports = nullptr);
    ~ZylLumenfoldFilter() override;

    // A new ZylLumenfoldModule on this processor's container.
    std::unique_ptr<ZylModule> createRootModule() override;
    // A new ZylLumenfoldEditor for this processor.
    juce::AudioProcessorEditor* createEditor() override;

    // Marks the processor as made by the standalone wrapper, creates it on ports and runs its
    // initialise.
    static std::unique_ptr<ZylLumenfoldFilter> createStandalone(ZylMidiPortBackend* ports);

private:
    ZylMidiPortBackend* ports;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ZylLumenfoldFilter)
};

// The processor the standalone window plays, on the system's MIDI ports, initialised; the
// caller owns it.
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter();

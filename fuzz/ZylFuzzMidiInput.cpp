// MIDI input through the product processor's processBlock: runs of blocks from the host, or from
// an input port through the port collector, on every channel setting (the per-channel copy) and
// trigger mode. Layout: fuzz/ZylFuzzMidiBlocks.h. Besides the sanitizers, every output sample
// must be finite.

#include "framework/ZylDomain.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylParameter.h"
#include "fuzz/ZylFuzzMidiBlocks.h"
#include "fuzz/ZylFuzzSupport.h"
#include "modules/ZylMidiInputDeviceManager.h"
#include "modules/ZylMidiInputGroupModule.h"
#include "modules/ZylMidiInputModule.h"
#include "space/ZylSpaceModule.h"
#include "tests/app/ZylLumenfoldTestFilter.h"
#include "tests/modules/ZylFakeMidiPortBackend.h"

#include <cmath>
#include <memory>

namespace
{
constexpr double kRate = 44100.0;
constexpr int kPreparedBlock = 512;
constexpr int kBlocksBetweenDeliveries = 16;
const juce::String kPortName = "Fuzz In";

ZylFakeMidiPortBackend ports;
std::unique_ptr<zyltest::LumenfoldTestFilter> filter;
juce::AudioBuffer<float> audio;
juce::MidiBuffer hostMidi;

ZylMidiInputModule& input()
{
    return *filter->root().getMidiInputGroupModule()->getInputModule(0);
}

void select(ZylParameter* parameter, int index)
{
    const auto& values = parameter->getDomain()->getValues();
    if (values.empty())
        return;
    auto* value = values[static_cast<size_t>(index) % values.size()];
    if (parameter->getValueObject() != value)
        parameter->setValueObject(value, kCauseUser, false, true);
}

void runBlock(int numSamples)
{
    audio.setSize(2, numSamples, false, false, true);
    audio.clear();
    filter->processBlock(audio, hostMidi);
    for (int c = 0; c < audio.getNumChannels(); ++c)
        for (int i = 0; i < numSamples; ++i)
            if (!std::isfinite(audio.getSample(c, i)))
                zylfuzz::fail("an output sample is not finite");
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    zylfuzz::initialise();
    ports.inputNames = { kPortName };
    juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_Standalone);
    filter = std::make_unique<zyltest::LumenfoldTestFilter>(&ports);
    juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_Undefined);
    filter->initialise();
    filter->setPlayConfigDetails(0, 2, kRate, kPreparedBlock);
    filter->root().getMidiInputGroupModule()->getDeviceManager()->setMidiInputEnabled(kPortName, true);
    filter->root().getMidiInputGroupModule()->refreshDeviceValues();
    audio.setSize(2, 4 * kPreparedBlock);
    hostMidi.ensureSize(8192);
    zylfuzz::deliverMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zylfuzzmidi::Input parsed;
    if (!zylfuzzmidi::readInput(data, size, parsed))
        return 0;

    // Each input starts from prepared modules: held notes, the collector and the transport of
    // the one before are gone.
    filter->prepareToPlay(kRate, kPreparedBlock);
    select(input().getDeviceParameter(),
           parsed.fromPort ? ZylMidiInputModule::kFirstPortSource : ZylMidiInputModule::kSourceHost);
    select(input().getChannelParameter(), parsed.channel);
    select(filter->root().getSpaceModule()->getTriggerParameter(), parsed.triggerChoice);
    zylfuzz::deliverMessages();
    // The first block makes the port the current input.
    hostMidi.clear();
    runBlock(kPreparedBlock);

    int blocks = 0;
    for (const auto& block : parsed.blocks)
    {
        hostMidi.clear();
        for (const auto& event : block.events)
        {
            const auto length = static_cast<int>(event.bytes.size());
            if (parsed.fromPort)
                ports.deliver(kPortName,
                              juce::MidiMessage(event.bytes.data(), length,
                                                juce::Time::getMillisecondCounterHiRes() * 0.001));
            else
                hostMidi.addEvent(event.bytes.data(), length, event.position);
        }
        runBlock(block.numSamples);
        if (++blocks % kBlocksBetweenDeliveries == 0)
            zylfuzz::deliverMessages();
    }
    filter->releaseResources();
    zylfuzz::deliverMessages();
    return 0;
}

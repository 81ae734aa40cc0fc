#include "modules/ZylSynthModule.h"

#include "framework/ZylLinkParameterSet.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylParameterSet.h"
#include "framework/ZylValue.h"
#include "modules/ZylGainDomain.h"
#include "modules/ZylSynth.h"
#include "modules/ZylSynthDomainSet.h"

namespace
{
constexpr int kAudioOutPin = 0;
constexpr int kMidiInPin = 1;
} // namespace

ZylSynthModule::ZylSynthModule(ZylModuleContainer* owner) : ZylModule(owner, kModuleId, L"")
{
}

ZylSynthModule::~ZylSynthModule()
{
    if (isInitialised())
        removeParameterSink(this, false);
}

void ZylSynthModule::initialise()
{
    ZylModule::initialise();
    addPin(std::make_unique<ZylPin<ZylAudioCable>>(false, true));
    addPin(std::make_unique<ZylPin<ZylMidiCable>>(true, false));
    synth = std::make_unique<ZylSynth>();
    previousGain = 0.0f;
    registerInModuleMap();
    domainSet = adoptDomainSet(std::make_unique<ZylSynthDomainSet>());
    createProgramParameter(kGainParameterId, takeHostAutomationIndex(), domainSet->getGainDomain());
    setCurrentProgram(0);
    registerParameters(getContainer()->getParameterMap());
    addParameterSink(this, false);
}

ZylParameter* ZylSynthModule::getGainParameter() const
{
    auto* program = getProgramParameters();
    return program != nullptr ? program->getParameterById(kGainParameterId) : nullptr;
}

ZylPin<ZylAudioCable>* ZylSynthModule::getAudioOutPin() const
{
    return getPinOfKind<ZylAudioCable>(kAudioOutPin);
}

ZylPin<ZylMidiCable>* ZylSynthModule::getMidiInPin() const
{
    return getPinOfKind<ZylMidiCable>(kMidiInPin);
}

ZylModule* ZylSynthModule::getTransportModule() const
{
    return getContainer()->getModule(kTransportModuleId);
}

ZylSynthDomainSet* ZylSynthModule::getDomainSet() const
{
    return domainSet;
}

float ZylSynthModule::getGain() const
{
    auto* parameter = getGainParameter();
    if (parameter == nullptr)
        return 0.0f;
    const juce::ScopedLock sl(parameter->getLock());
    auto* value = parameter->getValueObject();
    return value != nullptr ? static_cast<float>(value->getData()) * kGainScale : 0.0f;
}

void ZylSynthModule::prepareToPlay(double sampleRate, int blockSize)
{
    // The synthesiser stops every note under its lock before it takes a new rate, and does
    // nothing for an unchanged one.
    if (synth != nullptr && sampleRate > 0.0)
        synth->setCurrentPlaybackSampleRate(sampleRate);
    ZylModule::prepareToPlay(sampleRate, blockSize);
}

void ZylSynthModule::releaseResources()
{
    if (synth != nullptr)
        synth->allNotesOff(0, false);
    ZylModule::releaseResources();
}

void ZylSynthModule::processPendingReset()
{
    if (isResetPending() && synth != nullptr)
        synth->allNotesOff(0, true);
    ZylModule::processPendingReset();
}

void ZylSynthModule::process(int /*numSamples*/)
{
    // The gain, read again only once the parameter epoch moved: an idle block reads no parameter.
    if (gainReading.isDue())
        blockGain = getGain();
    const float gain = blockGain;
    auto* audioPin = getAudioOutPin();
    auto* midiPin = getMidiInPin();
    auto* audioCable = audioPin != nullptr ? audioPin->getFirstCable() : nullptr;
    auto* midiCable = midiPin != nullptr ? midiPin->getFirstCable() : nullptr;
    auto* audio = audioCable != nullptr ? audioCable->getBuffer() : nullptr;
    auto* midi = midiCable != nullptr ? midiCable->getBuffer() : nullptr;

    if (synth != nullptr && audio != nullptr)
        render(*synth, *audio, midi != nullptr ? *midi : noMidi, previousGain, gain, false);
    previousGain = gain;
}

void ZylSynthModule::render(ZylSynth& synthesiser, juce::AudioSampleBuffer& output,
                            juce::MidiBuffer& midi, float startGain, float endGain, bool add)
{
    if (!add)
        output.clear();
    if (output.getNumChannels() <= 0)
        return;
    const int length = output.getNumSamples();
    // With no voice sounding and no note arriving the synthesiser would add nothing: an idle
    // block does not walk the voices.
    if (!midi.isEmpty() || !synthesiser.isSilent())
        synthesiser.renderNextBlock(output, midi, 0, length);
    for (int channel = 0; channel < output.getNumChannels(); ++channel)
        output.applyGainRamp(channel, 0, length, startGain, endGain);
    keepAlive(output);
}

void ZylSynthModule::keepAlive(juce::AudioSampleBuffer& buffer)
{
    if (buffer.getNumChannels() <= 0 || buffer.getNumSamples() <= 0)
        return;
    float largest = 0.0f;
    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        largest = std::max(largest, buffer.getMagnitude(channel, 0, buffer.getNumSamples()));
    if (largest == 0.0f)
        buffer.setSample(0, 0, kKeepAliveSample);
}

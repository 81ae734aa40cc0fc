#include "modules/ZylMidiInputModule.h"

#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylParameterSet.h"
#include "framework/ZylValue.h"
#include "modules/ZylMidiBufferOperations.h"
#include "modules/ZylMidiFromChannelDomain.h"
#include "modules/ZylMidiFromDeviceDomain.h"
#include "modules/ZylMidiFromFileDomain.h"
#include "modules/ZylMidiInputDeviceManager.h"
#include "modules/ZylMidiInputDomainSet.h"
#include "modules/ZylMidiInputGroupModule.h"
#include "modules/ZylTransportDomainSet.h"
#include "modules/ZylTransportModule.h"
#include "modules/ZylTransportStateDomain.h"

#include <cmath>
#include <limits>

namespace
{
constexpr int kMidiOutPin = 0;
constexpr int kKeyboardPin = 1;
constexpr int kMidiThruPin = 2;
constexpr int kClocksPerQuarter = 24;
constexpr int kClocksPerSixteenth = 6;

bool isTransportIn(const ZylTransportModule& transport, ZylValue* (ZylTransportStateDomain::*which)() const noexcept)
{
    auto* parameter = transport.getStateParameter();
    auto* domainSet = transport.getDomainSet();
    if (parameter == nullptr || domainSet == nullptr)
        return false;
    const juce::ScopedLock lock(parameter->getLock());
    return parameter->getValueObject() == (domainSet->getStateDomain()->*which)();
}

double samplesPerBeatOf(double sampleRate, double bpm)
{
    return sampleRate / (bpm / 60.0);
}

// The transport's tempo in samples per beat (0 when it has no positive tempo), and whether the
// host drives its position.
double transportSamplesPerBeat(ZylTransportModule& transport, bool& hostUsed)
{
    juce::AudioPlayHead::CurrentPositionInfo info;
    int bar = 0;
    int beat = 0;
    hostUsed = false;
    transport.copyPosition(info, bar, beat, hostUsed);
    return info.bpm > 0.0 ? samplesPerBeatOf(transport.getSampleRate(), info.bpm) : 0.0;
}
} // namespace

ZylMidiInputModule::ZylMidiInputModule(ZylModuleContainer* owner, ZylMidiInputGroupModule* owningGroup)
    : ZylModule(owner, kModuleId, L""), group(owningGroup)
{
}

ZylMidiInputModule::~ZylMidiInputModule()
{
    if (isInitialised())
        removeParameterSink(this, false);
    if (listening)
        deactivate();
    detachFromDeviceManager();
}

void ZylMidiInputModule::detachFromDeviceManager()
{
    if (collector != nullptr && group != nullptr && group->getDeviceManager() != nullptr)
        group->getDeviceManager()->removeMidiInputCallback(collector.get());
    group = nullptr;
}

void ZylMidiInputModule::initialise()
{
    ZylModule::initialise();
    addPin(std::make_unique<ZylPin<ZylMidiCable>>(true, false));
    addPin(std::make_unique<ZylPin<ZylMidiKeyboardCable>>(false, true));
    addPin(std::make_unique<ZylPin<ZylMidiCable>>(false, true));
    registerInModuleMap();

    auto* domains = group != nullptr ? group->getDomainSet() : nullptr;
    auto* global = getGlobalParameters();
    if (domains != nullptr)
    {
        global->createParameter(kDeviceParameterId, takeInternalAutomationIndex(),
                                domains->getDeviceDomain());
        global->createParameter(kChannelParameterId, takeInternalAutomationIndex(),
                                domains->getChannelDomain());
        global->createParameter(kTrackParameterId, takeInternalAutomationIndex(),
                                domains->getTrackDomain());
    }
    global->buildIndex();
    setCurrentProgram(0);
    registerParameters(getContainer()->getParameterMap());

    collector = std::make_unique<juce::MidiMessageCollector>();
    collector->reset(sampleRate);
    if (group != nullptr && group->getDeviceManager() != nullptr)
        group->getDeviceManager()->addMidiInputCallback(collector.get());
    storedSongPosition = 0;
    addParameterSink(this, false);
}

ZylParameter* ZylMidiInputModule::getDeviceParameter() const
{
    return getGlobalParameters()->getParameterById(kDeviceParameterId);
}

ZylParameter* ZylMidiInputModule::getTrackParameter() const
{
    return getGlobalParameters()->getParameterById(kTrackParameterId);
}

ZylParameter* ZylMidiInputModule::getChannelParameter() const
{
    return getGlobalParameters()->getParameterById(kChannelParameterId);
}

ZylPin<ZylMidiCable>* ZylMidiInputModule::getMidiOutPin() const
{
    return getPinOfKind<ZylMidiCable>(kMidiOutPin);
}

ZylPin<ZylMidiKeyboardCable>* ZylMidiInputModule::getKeyboardPin() const
{
    return getPinOfKind<ZylMidiKeyboardCable>(kKeyboardPin);
}

ZylPin<ZylMidiCable>* ZylMidiInputModule::getMidiThruPin() const
{
    return getPinOfKind<ZylMidiCable>(kMidiThruPin);
}

float ZylMidiInputModule::getLastVelocity() const { return lastVelocity.load(); }
int ZylMidiInputModule::getLastNote() const { return lastNote.load(); }
int ZylMidiInputModule::getLastChannel() const { return lastChannel.load(); }
bool ZylMidiInputModule::isAnyNoteOn() const { return anyNoteOn.load(); }
ZylMidiSequencer& ZylMidiInputModule::getSequencer() { return sequencer; }

ZylTransportModule* ZylMidiInputModule::getTransportModule() const
{
    return dynamic_cast<ZylTransportModule*>(getContainer()->getModule(kTransportModuleId));
}

ZylMidiInputGroupModule* ZylMidiInputModule::getInputGroupModule() const
{
    return dynamic_cast<ZylMidiInputGroupModule*>(getContainer()->getModule(kGroupModuleId));
}

void ZylMidiInputModule::clearHeldNoteState()
{
    lastVelocity = 0.0f;
    lastNote = 0;
    lastChannel = 0;
    anyNoteOn = false;
}

void ZylMidiInputModule::prepareToPlay(double newSampleRate, int blockSize)
{
    if (newSampleRate > 0.0)
        sampleRate = newSampleRate;
    if (collector != nullptr)
        collector->reset(sampleRate);
    scratch.ensureSize(static_cast<size_t>(juce::jmax(1, blockSize) * kScratchBytesPerSample));
    clockCount = 0;
    clearHeldNoteState();
    clearResetPins();
    ZylModule::prepareToPlay(newSampleRate, blockSize);
}

void ZylMidiInputModule::releaseResources()
{
    ZylModule::releaseResources();
}

void ZylMidiInputModule::activate()
{
    auto* pin = getKeyboardPin();
    auto* cable = pin != nullptr ? pin->getFirstCable() : nullptr;
    if (cable != nullptr && cable->getBuffer() != nullptr && !listening)
    {
        cable->getBuffer()->addListener(this);
        listening = true;
    }
    ZylModule::activate();
}

void ZylMidiInputModule::deactivate()
{
    if (listening)
    {
        auto* pin = getKeyboardPin();
        auto* cable = pin != nullptr ? pin->getFirstCable() : nullptr;
        if (cable != nullptr && cable->getBuffer() != nullptr)
            cable->getBuffer()->removeListener(this);
        listening = false;
    }
    ZylModule::deactivate();
}

bool ZylMidiInputModule::handleMessage(void* sender, int code, int timeMs)
{
    for (auto* parameter : { getDeviceParameter(), getChannelParameter(), getTrackParameter() })
    {
        if (parameter == nullptr || sender != parameter->asSender())
            continue;
        {
            const juce::ScopedLock callbackLock(getContainer()->getCallbackLock());
            const juce::ScopedLock parameterLock(parameter->getLock());
            clearResetPins();
            clearHeldNoteState();
        }
        if (auto* transport = getTransportModule())
            transport->rewind();
        return true;
    }
    return ZylModule::handleMessage(sender, code, timeMs);
}

void ZylMidiInputModule::processPendingReset()
{
    if (isResetPending())
    {
        clearResetPins();
        setResetPending(false);
    }
}

void ZylMidiInputModule::readSettings()
{
    if (!settingsReading.isDue())
        return;
    settings = Settings();
    auto* deviceParameter = getDeviceParameter();
    auto* channelParameter = getChannelParameter();
    if (deviceParameter == nullptr || channelParameter == nullptr)
        return;
    settings.complete = true;
    {
        const juce::ScopedLock lock(deviceParameter->getLock());
        settings.source = deviceParameter->getIndex();
        // A port is told by its name. Reading and converting the name allocates, so it is done
        // only when the value or the list of ports changed.
        if (settings.source >= kFirstPortSource)
            if (auto* value = deviceParameter->getValueObject())
            {
                auto* ports = dynamic_cast<ZylMidiDeviceDomain*>(deviceParameter->getDomain());
                const int generation = ports != nullptr ? ports->getListGeneration() : -1;
                if (value != portNameValue || generation != portNameGeneration || ports == nullptr)
                {
                    cachedPortName = juce::String(value->getName().c_str());
                    portNameValue = value;
                    portNameGeneration = generation;
                }
                settings.portName = cachedPortName; // shares the text: no allocation
            }
    }
    {
        const juce::ScopedLock lock(channelParameter->getLock());
        settings.channel = channelParameter->getIndex();
    }
    if (settings.source != kSourceTrack)
        return;
    auto* transport = getTransportModule();
    auto* trackParameter = getTrackParameter();
    if (transport == nullptr || trackParameter == nullptr
        || !isTransportIn(*transport, &ZylTransportStateDomain::getPlaying))
        return;
    settings.trackPlays = true;
    const juce::ScopedLock lock(trackParameter->getLock());
    settings.track = trackParameter->getIndex();
}

void ZylMidiInputModule::processMidiInput(juce::MidiBuffer& buffer, int numSamples)
{
    readSettings();
    if (!settings.complete)
        return;
    const int source = settings.source;
    const int channel = settings.channel;

    // A new source starts from an empty collector, so that port input gathered while another
    // source was chosen is not replayed.
    if (source != lastSourceIndex)
    {
        if (collector != nullptr && lastSourceIndex != -1)
            collector->reset(sampleRate);
        lastSourceIndex = source;
    }

    if (source == kSourceNone)
    {
        buffer.clear();
        return;
    }
    if (source == kSourceTrack)
    {
        buffer.clear();
        if (!settings.trackPlays)
            return;
        auto* transport = getTransportModule();
        if (transport == nullptr)
            return;
        const int track = settings.track;
        const auto& position = transport->getPosition();
        if (!(position.bpm > 0.0) || position.timeSigDenominator <= 0)
            return;
        const int beatsPerBar = (int) (4.0 / position.timeSigDenominator * position.timeSigNumerator);
        sequencer.renderTrack(track, 0, position.ppqPosition, numSamples,
                              samplesPerBeatOf(transport->getSampleRate(), position.bpm),
                              beatsPerBar, buffer);
        return;
    }
    if (source == kSourceHost)
    {
        if (channel == 0)
            return;
        scratch.clear();
        copyMidiEvents(buffer, scratch, 0, std::numeric_limits<int>::max(), 0);
        buffer.clear();
        copyMidiOnChannel(scratch, buffer, channel, numSamples);
        return;
    }

    // An input port.
    if (group != nullptr)
        if (auto* devices = group->getDeviceManager())
            devices->followCurrentInput(settings.portName);
    buffer.clear();
    if (collector == nullptr)
        return;
    if (channel == 0)
    {
        collector->removeNextBlockOfMessages(buffer, numSamples);
        return;
    }
    scratch.clear();
    collector->removeNextBlockOfMessages(scratch, numSamples);
    copyMidiOnChannel(scratch, buffer, channel, numSamples);
}

void ZylMidiInputModule::handleSyncMessages(juce::MidiBuffer& buffer, int numSamples)
{
    // Most blocks bring no MIDI at all: they need not look for the transport.
    if (buffer.isEmpty())
        return;
    auto* transport = getTransportModule();
    if (transport == nullptr)
        return;
    for (const auto metadata : buffer)
    {
        if (metadata.samplePosition > numSamples)
            break;
        if (metadata.numBytes <= 0 || metadata.data[0] < 0xF0)
            continue;
        if (isTransportIn(*transport, &ZylTransportStateDomain::getStopped))
            continue;
        switch (metadata.data[0])
        {
            case 0xF2:
                if (metadata.numBytes >= 3)
                    setSongPosition((metadata.data[2] << 7) | metadata.data[1]);
                break;
            case 0xFA:
                setSongPosition(-1);
                transport->start();
                break;
            case 0xFB: transport->start(); break;
            case 0xFC: transport->stop(); break;
            case 0xF8: handleClockTick(); break;
            default: break;
        }
    }
}

void ZylMidiInputModule::setSongPosition(int sixteenths)
{
    if (sixteenths >= 0)
        storedSongPosition = sixteenths;
    auto* transport = getTransportModule();
    if (transport == nullptr)
        return;
    bool hostUsed = false;
    const double samplesPerBeat = transportSamplesPerBeat(*transport, hostUsed);
    if (samplesPerBeat <= 0.0)
        return;
    const double beats = storedSongPosition * 0.25;
    const double samples = std::floor(samplesPerBeat * beats);
    transport->setSamplePosition(samples);
    clockCount = (int) std::floor(samples / (samplesPerBeat / kClocksPerQuarter));
}

void ZylMidiInputModule::handleClockTick()
{
    ++clockCount;
    if (clockCount % kClocksPerSixteenth != 0)
        return;
    auto* transport = getTransportModule();
    if (transport == nullptr)
        return;
    bool hostUsed = false;
    const double samplesPerBeat = transportSamplesPerBeat(*transport, hostUsed);
    if (hostUsed || samplesPerBeat <= 0.0)
        return;
    transport->setSamplePosition(std::floor(samplesPerBeat / kClocksPerQuarter * clockCount));
}

void ZylMidiInputModule::setClockCount(int count)
{
    clockCount = count;
}

void ZylMidiInputModule::process(int numSamples)
{
    auto* outPin = getMidiOutPin();
    auto* outCable = outPin != nullptr ? outPin->getFirstCable() : nullptr;
    auto* buffer = outCable != nullptr ? outCable->getBuffer() : nullptr;
    if (buffer == nullptr)
        return;
    processMidiInput(*buffer, numSamples);
    handleSyncMessages(*buffer, numSamples);

    auto* thruPin = getMidiThruPin();
    auto* thruCable = thruPin != nullptr ? thruPin->getFirstCable() : nullptr;
    if (auto* thru = thruCable != nullptr ? thruCable->getBuffer() : nullptr)
    {
        thru->clear();
        copyMidiEvents(*buffer, *thru, 0, numSamples, 0);
    }

    auto* keyboardPin = getKeyboardPin();
    auto* keyboardCable = keyboardPin != nullptr ? keyboardPin->getFirstCable() : nullptr;
    if (auto* keyboard = keyboardCable != nullptr ? keyboardCable->getBuffer() : nullptr)
    {
        keyboard->processNextMidiBuffer(*buffer, 0, numSamples, false);
        bool held = false;
        for (int note = 0; note < 128 && !held; ++note)
            held = keyboard->isNoteOnForChannels(0xFFFF, note);
        anyNoteOn = held;
    }
}

void ZylMidiInputModule::handleNoteOn(juce::MidiKeyboardState* source, int midiChannel,
                                      int midiNoteNumber, float velocity)
{
    if (velocity > 0.0f)
    {
        lastVelocity = velocity;
        lastNote = midiNoteNumber;
        lastChannel = midiChannel;
        return;
    }
    handleNoteOff(source, midiChannel, midiNoteNumber, velocity);
}

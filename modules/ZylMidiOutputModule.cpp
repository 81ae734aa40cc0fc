#include "modules/ZylMidiOutputModule.h"

#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylParameterSet.h"
#include "framework/ZylValue.h"
#include "modules/ZylMidiBufferOperations.h"
#include "modules/ZylMidiOutputDeviceManager.h"
#include "modules/ZylMidiOutputDomainSet.h"
#include "modules/ZylMidiOutputGroupModule.h"
#include "modules/ZylMidiToDeviceDomain.h"
#include "modules/ZylTransportModule.h"

#include <limits>
#include <utility>

namespace
{
constexpr int kMidiInPin = 0;
constexpr int kHostOutPin = 1;
constexpr int kSynthInPin = 2;

juce::MidiBuffer* firstBuffer(ZylPin<ZylMidiCable>* pin)
{
    auto* cable = pin != nullptr ? pin->getFirstCable() : nullptr;
    return cable != nullptr ? cable->getBuffer() : nullptr;
}
} // namespace

ZylMidiOutputModule::ZylMidiOutputModule(ZylModuleContainer* owner, ZylMidiOutputGroupModule* owningGroup)
    : ZylModule(owner, kModuleId, L""), group(owningGroup)
{
}

ZylMidiOutputModule::~ZylMidiOutputModule()
{
    if (isInitialised())
        removeParameterSink(this, false);
}

void ZylMidiOutputModule::initialise()
{
    ZylModule::initialise();
    addPin(std::make_unique<ZylPin<ZylMidiCable>>(true, false));
    addPin(std::make_unique<ZylPin<ZylMidiCable>>(false, true));
    addPin(std::make_unique<ZylPin<ZylMidiCable>>(false, true));
    registerInModuleMap();

    auto* global = getGlobalParameters();
    if (auto* domains = group != nullptr ? group->getDomainSet() : nullptr)
    {
        const auto& list = domains->getDomains();
        global->createParameter(kDeviceParameterId, takeInternalAutomationIndex(),
                                list[ZylMidiOutputDomainSet::kDevicePlace]);
        global->createParameter(kChannelParameterId, takeInternalAutomationIndex(),
                                list[ZylMidiOutputDomainSet::kChannelPlace]);
    }
    global->buildIndex();
    setCurrentProgram(0);
    registerParameters(getContainer()->getParameterMap());
    lastDestination = -1;
    lastChannel = -1;
    lastDestinationName.clear();
    addParameterSink(this, false);
}

ZylParameter* ZylMidiOutputModule::getDeviceParameter() const
{
    return getGlobalParameters()->getParameterById(kDeviceParameterId);
}

ZylParameter* ZylMidiOutputModule::getChannelParameter() const
{
    return getGlobalParameters()->getParameterById(kChannelParameterId);
}

ZylTransportModule* ZylMidiOutputModule::getTransportModule() const
{
    return dynamic_cast<ZylTransportModule*>(getContainer()->getModule(kTransportModuleId));
}

ZylMidiOutputGroupModule* ZylMidiOutputModule::getOutputGroupModule() const
{
    return dynamic_cast<ZylMidiOutputGroupModule*>(getContainer()->getModule(kGroupModuleId));
}

void ZylMidiOutputModule::prepareToPlay(double sampleRate, int blockSize)
{
    lastDestination = -1;
    lastChannel = -1;
    clearResetPins();
    const auto bytes = static_cast<size_t>(juce::jmax(1, blockSize) * kScratchBytesPerSample);
    for (auto* buffer : { &pending, &now, &later, &routed })
    {
        buffer->clear();
        buffer->ensureSize(bytes);
    }
    ZylModule::prepareToPlay(sampleRate, blockSize);
}

bool ZylMidiOutputModule::handleMessage(void* sender, int code, int timeMs)
{
    for (auto* parameter : { getDeviceParameter(), getChannelParameter() })
    {
        if (parameter == nullptr || sender != parameter->asSender())
            continue;
        {
            const juce::ScopedLock callbackLock(getContainer()->getCallbackLock());
            const juce::ScopedLock parameterLock(parameter->getLock());
            clearResetPins();
        }
        if (auto* transport = getTransportModule())
            transport->rewind();
        return true;
    }
    return ZylModule::handleMessage(sender, code, timeMs);
}

void ZylMidiOutputModule::process(int numSamples)
{
    auto* in = firstBuffer(getPinOfKind<ZylMidiCable>(kMidiInPin));
    auto* hostOut = firstBuffer(getPinOfKind<ZylMidiCable>(kHostOutPin));
    auto* synthIn = firstBuffer(getPinOfKind<ZylMidiCable>(kSynthInPin));
    if (numSamples < 0)
        return;

    constexpr int kEarliest = std::numeric_limits<int>::min();
    if (in != nullptr)
        copyMidiEvents(*in, pending, kEarliest, std::numeric_limits<int>::max() - numSamples, 0);

    now.clear();
    later.clear();
    copyMidiEvents(pending, now, kEarliest, numSamples, 0);
    copyMidiEvents(pending, later, numSamples, std::numeric_limits<int>::max(), -numSamples);
    pending.swapWith(later);

    if (isResetPending())
    {
        now.clear();
        addAllNotesOff(now);
        setResetPending(false);
    }

    juce::MidiBuffer noHost;
    juce::MidiBuffer noSynth;
    routeOutput(now, hostOut != nullptr ? *hostOut : noHost, synthIn != nullptr ? *synthIn : noSynth,
                numSamples);
}

void ZylMidiOutputModule::routeOutput(juce::MidiBuffer& events, juce::MidiBuffer& hostOut,
                                      juce::MidiBuffer& synthIn, int numSamples)
{
    hostOut.clear();
    synthIn.clear();
    auto* deviceParameter = getDeviceParameter();
    auto* channelParameter = getChannelParameter();
    if (deviceParameter == nullptr || channelParameter == nullptr)
        return;

    int destination = 0;
    {
        const juce::ScopedLock lock(deviceParameter->getLock());
        destination = deviceParameter->getIndex();
        // Only a port is told by its name; reading the fixed destinations' names would copy a
        // string every block.
        if (destination >= kFirstPortDestination)
        {
            if (auto* value = deviceParameter->getValueObject())
            {
                auto* ports = dynamic_cast<ZylMidiToDeviceDomain*>(deviceParameter->getDomain());
                const int generation = ports != nullptr ? ports->getListGeneration() : -1;
                if (value != portNameValue || generation != portNameGeneration || ports == nullptr)
                {
                    cachedPortName = value->getName();
                    portNameValue = value;
                    portNameGeneration = generation;
                }
                currentName = cachedPortName; // fits the capacity it already has: no allocation
            }
        }
        else
        {
            currentName.clear();
        }
    }
    int channel = 0;
    {
        const juce::ScopedLock lock(channelParameter->getLock());
        channel = channelParameter->getIndex();
    }

    int routeDestination = destination;
    int routeChannel = channel;
    if (lastDestination >= 0 && lastChannel >= 0)
    {
        if (destination != lastDestination || channel != lastChannel
            || currentName != lastDestinationName)
        {
            // The old destination gets all-notes-off; the new one starts with the next block.
            events.clear();
            addAllNotesOff(events);
            routeDestination = lastDestination;
            routeChannel = lastChannel;
            std::swap(lastDestinationName, currentName);
            lastDestination = destination;
            lastChannel = channel;
        }
    }
    else
    {
        lastDestination = destination;
        lastChannel = channel;
        lastDestinationName = currentName;
    }
    // After a change the swap left the old destination's name in currentName; otherwise the
    // two names are equal.
    const std::wstring& routeName = currentName;

    if (events.isEmpty())
        return;
    routed.clear();
    copyMidiToChannel(events, routed, routeChannel + 1, numSamples);
    if (routeDestination == kDestinationHost)
        copyMidiEvents(routed, hostOut, 0, std::numeric_limits<int>::max(), 0);
    else if (routeDestination == kDestinationSynth)
        copyMidiEvents(routed, synthIn, 0, std::numeric_limits<int>::max(), 0);
    else if (routeDestination >= kFirstPortDestination)
        sendToDevice(routeName, routed, numSamples);
}

void ZylMidiOutputModule::sendToDevice(const std::wstring& portName, const juce::MidiBuffer& events,
                                       int numSamples)
{
    auto* manager = group != nullptr ? group->getDeviceManager() : nullptr;
    if (manager == nullptr)
        return;
    const juce::ScopedLock lock(manager->getDeviceLock());
    if (portName != sendNameSource)
    {
        sendNameSource = portName;
        sendName = juce::String(portName.c_str());
    }
    const int index = manager->indexOfOutput(sendName);
    if (index < 0)
        return;
    for (const auto metadata : events)
    {
        if (metadata.samplePosition > numSamples)
            break;
        manager->sendMessageNowByIndex(index, metadata.getMessage());
    }
}

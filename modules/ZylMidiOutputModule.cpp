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

#include <cstdint>
#include <limits>
#include <utility>

namespace
{
constexpr int kMidiInPin = 0;
constexpr int kHostOutPin = 1;
constexpr int kSynthInPin = 2;
constexpr int kChannelCount = 16;
// A buffer event's bytes besides the message: the int32 position and the uint16 size.
constexpr int kEventHeaderBytes = static_cast<int>(sizeof(std::int32_t) + sizeof(std::uint16_t));
constexpr int kControllerBytes = 3;
constexpr int kSustainController = 64;
// Room for the sustain-off and all-notes-off pair per channel that replaces held-back events
// that do not fit.
constexpr int kHeldMinimumBytes = kChannelCount * 2 * (kEventHeaderBytes + kControllerBytes);

// mask with bit n set for every channel n + 1 that a channel message of buffer uses.
int channelsUsedBy(const juce::MidiBuffer& buffer, int mask)
{
    for (const auto metadata : buffer)
        if (metadata.numBytes > 0 && metadata.data[0] >= 0x80 && metadata.data[0] < 0xF0)
            mask |= 1 << (metadata.data[0] & 0x0F);
    return mask;
}

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
    // Held-back events stay: they may end notes the port still plays.
    heldCapacity = juce::jmax(static_cast<int>(bytes), kHeldMinimumBytes, held.data.size());
    held.ensureSize(static_cast<size_t>(heldCapacity));
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

void ZylMidiOutputModule::readRoute()
{
    if (!routeReading.isDue())
        return;
    route = Route();
    auto* deviceParameter = getDeviceParameter();
    auto* channelParameter = getChannelParameter();
    if (deviceParameter == nullptr || channelParameter == nullptr)
        return;
    route.complete = true;
    {
        const juce::ScopedLock lock(deviceParameter->getLock());
        route.destination = deviceParameter->getIndex();
        // Only a port is told by its name; reading the fixed destinations' names would copy a
        // string every block.
        if (route.destination >= kFirstPortDestination)
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
                route.portNamed = true;
            }
        }
    }
    const juce::ScopedLock lock(channelParameter->getLock());
    route.channel = channelParameter->getIndex();
}

void ZylMidiOutputModule::routeOutput(juce::MidiBuffer& events, juce::MidiBuffer& hostOut,
                                      juce::MidiBuffer& synthIn, int numSamples)
{
    hostOut.clear();
    synthIn.clear();
    readRoute();
    if (!route.complete)
        return;
    const int destination = route.destination;
    if (destination < kFirstPortDestination)
        currentName.clear();
    else if (route.portNamed)
        currentName = cachedPortName; // fits the capacity it already has: no allocation
    const int channel = route.channel;

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

    // sendToDevice sends what was held back before the block's events.
    if (!held.isEmpty() && (events.isEmpty() || routeDestination < kFirstPortDestination))
        sendHeldEventsIfFree();
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
    if (portName != sendNameSource)
    {
        sendNameSource = portName;
        sendName = juce::String(portName.c_str());
    }
    const juce::ScopedTryLock lock(manager->getDeviceLock());
    if (!lock.isLocked())
    {
        holdBack(events);
        return;
    }
    sendHeldEvents(*manager);
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

void ZylMidiOutputModule::holdBack(const juce::MidiBuffer& events)
{
    if (events.isEmpty())
        return;
    // Only one port's events are held. Events for another port meanwhile are dropped: every
    // attempt to send has failed since the held ones came, so that port was left with
    // all-notes-off before and plays no note of ours that they could end.
    if (!held.isEmpty() && heldName != sendName)
        return;
    heldName = sendName;

    // Moved to start at the last held position, so that they follow the held events in order.
    const std::int64_t base = held.isEmpty() ? 0 : held.getLastEventTime();
    const std::int64_t first = events.getFirstEventTime();
    const std::int64_t delta = base - first;
    const std::int64_t end = base + (events.getLastEventTime() - first);
    constexpr std::int64_t kLatest = std::numeric_limits<int>::max() - 1;
    if (held.data.size() + events.data.size() <= heldCapacity && delta <= kLatest && end <= kLatest)
    {
        copyMidiEvents(events, held, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                       static_cast<int>(delta));
        return;
    }
    // No room: all-notes-off on every channel the events use stands in for them, so that no note
    // the dropped events would have ended hangs. A receiver keeps notes that a sustain pedal holds
    // through all-notes-off, and the pedal's release may be among the dropped events: the pedal is
    // lifted first.
    const int channels = channelsUsedBy(events, channelsUsedBy(held, 0));
    held.clear();
    for (int channel = 1; channel <= kChannelCount; ++channel)
        if ((channels & (1 << (channel - 1))) != 0)
        {
            held.addEvent(juce::MidiMessage::controllerEvent(channel, kSustainController, 0), 0);
            held.addEvent(juce::MidiMessage::allNotesOff(channel), 0);
        }
}

void ZylMidiOutputModule::sendHeldEventsIfFree()
{
    auto* manager = group != nullptr ? group->getDeviceManager() : nullptr;
    if (manager == nullptr)
    {
        held.clear();
        return;
    }
    const juce::ScopedTryLock lock(manager->getDeviceLock());
    if (lock.isLocked())
        sendHeldEvents(*manager);
}

// Under the device lock.
void ZylMidiOutputModule::sendHeldEvents(ZylMidiOutputDeviceManager& manager)
{
    if (held.isEmpty())
        return;
    const int index = manager.indexOfOutput(heldName);
    if (index >= 0)
        for (const auto metadata : held)
            manager.sendMessageNowByIndex(index, metadata.getMessage());
    held.clear();
}

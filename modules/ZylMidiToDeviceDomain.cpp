#include "modules/ZylMidiToDeviceDomain.h"

#include "framework/ZylMessageCodes.h"

ZylMidiToDeviceDomain::ZylMidiToDeviceDomain(ZylDomainSet* owningSet) : ZylRealDomain(owningSet)
{
    setDeviceNames({});
    addCommand(std::make_unique<ZylDomainCommand>(L"Configure..."));
}

std::wstring ZylMidiToDeviceDomain::getShortName() const { return L"Midi Out"; }

std::wstring ZylMidiToDeviceDomain::getName() const { return L"Midi Output Device"; }

std::wstring ZylMidiToDeviceDomain::getDescription() const { return L"Midi device we send our output to"; }

bool ZylMidiToDeviceDomain::hasFixedValues() const { return false; }

bool ZylMidiToDeviceDomain::hasDynamicValues() const { return true; }

void ZylMidiToDeviceDomain::setDeviceNames(const std::vector<std::wstring>& names)
{
    const juce::ScopedLock sl(getLock());
    clearValues();
    addValue(std::make_unique<ZylMidiToDeviceValue>(this, 0, 0.0f, 0.0, L"Not connected", L"Not connected",
                                     L"Not connected"));
    addValue(std::make_unique<ZylMidiToDeviceValue>(this, 0, 0.0f, 0.0, L"VST host", L"VST host",
                                     L"Connected to host application hosting VST plug-in"));
    addValue(std::make_unique<ZylMidiToDeviceValue>(this, 0, 0.0f, 0.0, L"Built-in synth", L"Built-in synth",
                                     L"Connected to internal synth"));
    for (const auto& name : names)
        addValue(std::make_unique<ZylMidiToDeviceValue>(this, 0, 0.0f, 0.0, name, name, name));
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(getValues()[kDefaultIndex]);
    ++listGeneration;
    listRebuilt();
}

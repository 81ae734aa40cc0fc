#include "modules/ZylMidiFromDeviceDomain.h"

#include "framework/ZylMessageCodes.h"

ZylMidiFromDeviceDomain::ZylMidiFromDeviceDomain(ZylDomainSet* owningSet) : ZylRealDomain(owningSet)
{
    setDeviceNames({});
    addCommand(std::make_unique<ZylDomainCommand>(L"Configure..."));
}

std::wstring ZylMidiFromDeviceDomain::getShortName() const { return L"Midi In"; }

std::wstring ZylMidiFromDeviceDomain::getName() const { return L"Midi Input Device"; }

std::wstring ZylMidiFromDeviceDomain::getDescription() const { return L"Midi device we receive our input from"; }

bool ZylMidiFromDeviceDomain::hasFixedValues() const { return false; }

bool ZylMidiFromDeviceDomain::hasDynamicValues() const { return true; }

void ZylMidiFromDeviceDomain::setDeviceNames(const std::vector<std::wstring>& names)
{
    const juce::ScopedLock sl(getLock());
    clearValues();
    addValue(std::make_unique<ZylMidiFromDeviceValue>(this, 0, 0.0f, 0.0, L"Not connected", L"Not connected",
                                     L"Not connected"));
    addValue(std::make_unique<ZylMidiFromDeviceValue>(this, 0, 0.0f, 0.0, L"Track", L"Midi track",
                                     L"Built-in midi input tracks"));
    addValue(std::make_unique<ZylMidiFromDeviceValue>(this, 0, 0.0f, 0.0, L"VST/AU host", L"VST/AU host",
                                     L"Connected to host application hosting VST/AU plug-in"));
    for (const auto& name : names)
        addValue(std::make_unique<ZylMidiFromDeviceValue>(this, 0, 0.0f, 0.0, name, name, name));
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(getValues()[kDefaultIndex]);
    listRebuilt();
}

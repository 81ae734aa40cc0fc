#include "modules/ZylMidiDeviceDomain.h"

ZylMidiDeviceDomain::ZylMidiDeviceDomain(ZylDomainSet* owningSet, std::vector<FixedValue> fixedValues,
                                         int defaultValueIndex, ValueFactory valueFactory)
    : ZylRealDomain(owningSet), fixed(std::move(fixedValues)), defaultIndex(defaultValueIndex),
      makeValue(valueFactory)
{
    setDeviceNames({});
    addCommand(std::make_unique<ZylDomainCommand>(L"Configure..."));
}

bool ZylMidiDeviceDomain::hasFixedValues() const { return false; }

bool ZylMidiDeviceDomain::hasDynamicValues() const { return true; }

void ZylMidiDeviceDomain::setDeviceNames(const std::vector<std::wstring>& names)
{
    const juce::ScopedLock sl(getLock());
    clearValues();
    for (const auto& value : fixed)
        addValue(makeValue(this, value.name, value.label, value.description));
    for (const auto& name : names)
        addValue(makeValue(this, name, name, name));
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(getValues()[defaultIndex]);
    ++listGeneration;
    listRebuilt();
}

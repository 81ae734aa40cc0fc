#include "modules/ZylMidiFromFileDomain.h"

#include "framework/ZylMessageCodes.h"

ZylMidiFromFileDomain::ZylMidiFromFileDomain(ZylDomainSet* owningSet) : ZylRealDomain(owningSet)
{
    setTrackNames({}, {});
}

std::wstring ZylMidiFromFileDomain::getShortName() const { return L"Track"; }

std::wstring ZylMidiFromFileDomain::getName() const { return L"Midi Input Track"; }

std::wstring ZylMidiFromFileDomain::getDescription() const { return L"Midi track we receive our input from"; }

bool ZylMidiFromFileDomain::hasFixedValues() const { return false; }

bool ZylMidiFromFileDomain::hasDynamicValues() const { return true; }

void ZylMidiFromFileDomain::setTrackNames(const std::vector<std::wstring>& names,
                          const std::vector<std::wstring>& descriptions)
{
    const juce::ScopedLock sl(getLock());
    clearValues();
    for (size_t i = 0; i < names.size(); ++i)
    {
        const auto& description = i < descriptions.size() ? descriptions[i] : names[i];
        addValue(std::make_unique<ZylMidiFromFileValue>(this, 0, 0.0f, 0.0, names[i], names[i], description));
    }
    if (getValues().empty())
        addValue(std::make_unique<ZylMidiFromFileValue>(this, 0, 0.0f, 0.0, L"<none>", L"<no tracks>",
                                         L"<no tracks>"));
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(getValues().front());
    listRebuilt();
}

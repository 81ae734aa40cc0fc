#include "framework/ZylOnOffSwitchDomain.h"

ZylOnOffSwitchDomain::ZylOnOffSwitchDomain(ZylDomainSet* owningSet) : ZylRealDomain(owningSet)
{
    addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 0.0, L"Off", L"Off", L"Switched off",
                                        nullptr, 0));
    addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 1.0, L"On", L"On", L"Switched on",
                                        nullptr, 0));
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(getValues().front());
}

std::wstring ZylOnOffSwitchDomain::getShortName() const { return L"On/Off"; }

std::wstring ZylOnOffSwitchDomain::getName() const { return L"On/Off switch"; }

std::wstring ZylOnOffSwitchDomain::getDescription() const { return L"On/Off switch"; }

int ZylOnOffSwitchDomain::getControlType() const { return kControlToggle; }

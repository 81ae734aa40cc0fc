#include "framework/ZylModulationSourceDomain.h"

ZylModulationSourceDomain::ZylModulationSourceDomain(ZylDomainSet* owningSet)
    : ZylRealDomain(owningSet)
{
    addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 0.0, L"None", L"None", L"No modulation",
                                        nullptr, 0));
    addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 1.0, L"LFO1", L"LFO1",
                                        L"Modulated by LFO 1", nullptr, 0));
    addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 2.0, L"LFO2", L"LFO2",
                                        L"Modulated by LFO 2", nullptr, 0));
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(getValues().front());
}

std::wstring ZylModulationSourceDomain::getShortName() const { return L"ModSrc"; }

std::wstring ZylModulationSourceDomain::getName() const { return L"Modulation source"; }

std::wstring ZylModulationSourceDomain::getDescription() const
{
    return L"Modulation source used to control values of other parameters";
}

int ZylModulationSourceDomain::getControlType() const { return kControlCombo; }

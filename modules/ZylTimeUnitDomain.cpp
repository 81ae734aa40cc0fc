#include "modules/ZylTimeUnitDomain.h"

ZylTimeUnitDomain::ZylTimeUnitDomain(ZylDomainSet* owningSet) : ZylRealDomain(owningSet)
{
    addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 0.0, L"Bar", L"Bar", L"Bar time unit",
                                        nullptr, 0));
    addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 1.0, L"Beat", L"Beat", L"Beat time unit",
                                        nullptr, 0));
    addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 2.0, L"1/4", L"1/4",
                                        L"1/4 note duration", nullptr, 0));
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(getValues().front());
}

std::wstring ZylTimeUnitDomain::getShortName() const { return L"Unit"; }

std::wstring ZylTimeUnitDomain::getName() const { return L"Time Unit"; }

std::wstring ZylTimeUnitDomain::getDescription() const { return L"Time Unit"; }
